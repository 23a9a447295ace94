// The help texts. Each ends with examples that work as written.

#include "help.hpp"

namespace ztl::cli {

const std::string_view kMainHelp = R"txt(Usage: ztl COMMAND [ARG...]

Runs the operations of the ZTLData type library (version 1.4): sixteen classes, nine
utility classes and seven components, each with the operations of its interface.

Commands:
  list                          the sixteen classes, their kind and registered name
  describe CLASS                the members of a class: slot, dispatch id, kind,
                                parameters with defaults, result and help string
  call CLASS.OPERATION [ARG...] calls one operation and prints its result
  serve                         answers JSON-RPC 2.0 requests, one per line, on
                                standard input and output (for programs in any language)
  crc32 [FILE...]               the CRC-32 of files or standard input; any reflected
                                CRC with --poly, --init and --xorout
  ebcdic encode|decode [FILE]   bytes from Windows-1252 to EBCDIC, or back
  rle compress|decompress [FILE]
                                run-length coding as ZtRLE does
  cipher encode|decode --key N [FILE]
                                the keyed cipher of ZtEncryption
  rsa keygen | rsa encode|decode --exponent E --modulus N [FILE]
                                RSA key sets and cipher text as ZtRSA makes them
  resources export DIR          writes the components' toolbox bitmaps and pictures
  help [COMMAND]                this text, or the help of one command

Options:
  -h, --help                    this text; after a command, that command's help
  --version                     the versions of ztl and of the type library:
                                ztl 0.1.0 (ZTLData type library 1.4)

Exit status: 0 on success; 2 for a usage error (unknown command, class or operation,
bad option, an ARG that is no valid value), for an input that cannot be read and for an
error the call reports (wrong argument count, type mismatch, overflow); 1 when standard
output cannot be written (ztl: write error: No space left on device); 3 when memory runs
out (ztl: out of memory); 70 for a fault in ztl itself (ztl: internal error: ...). Each
error is one line on standard error.

Examples:
  ztl list
  ztl describe ZtNumeric
  ztl call ZtNumeric.Factorial 10               # 3628800
  ztl call ZtDate.LastDay 2024-02-10            # 2024-02-29
  printf 123456789 | ztl crc32                   # cbf43926
  echo '{"jsonrpc":"2.0","id":1,"method":"describe","params":{"class":"ZtBits"}}' | ztl serve
)txt";

const std::string_view kResourcesHelp = R"txt(Usage: ztl resources export DIR

Writes the components' pictures into the folder DIR (made when missing): for each component
its toolbox bitmap, CLASS.bmp (16 x 15 pixels), and its design-time picture, CLASS.gif
(32 x 32 pixels). Prints the path of each file written.

Example:
  ztl resources export pictures
)txt";

const std::string_view kListHelp = R"txt(Usage: ztl list

Prints the sixteen classes of the type library in registry order, one per line: the
class name, its kind and its registered name.

  utility class   created by name (ZTLData.ZtNumeric); holds no data between calls
  component       a control: created only by placing it in a container; keeps its
                  data between calls (ztl call places it in a fresh container)

Example:
  ztl list
    ZtArrays       utility class  ZTLData.ZtArrays
    ...
    ZtRSA          component      ZTLData.ZtRSA
)txt";

const std::string_view kDescribeHelp = R"txt(Usage: ztl describe CLASS

Prints a class's interface. CLASS is the class name or its registered name, in any case
(ZtNumeric, ztnumeric, ZTLData.ZtNumeric).

The first line gives the class name, its registered name, its kind, its interface and,
for a component, its event interface. Then one line per slot, in slot order (a
property's get and let are two slots):

  SLOT  DISPID  KIND  NAME(PARAMETERS) As RESULT  "help string"

  DISPID      the dispatch id: hexadecimal (0x6003000D), the standard negative ids in
              decimal (-552 About, -514 Enabled)
  KIND        method, property get or property let
  PARAMETERS  name As Type, with
                ByRef name As Type           passed by reference (written back)
                [name As Type = DEFAULT]     optional; left out, it takes DEFAULT
                ParamArray name() As Variant gathers all remaining arguments
              a property let's new value is the last parameter, named value
  RESULT      the result type; none for a method without a result
  help string only when the type library carries one

Example:
  ztl describe ZtNumeric
    ZtNumeric (ZTLData.ZtNumeric), utility class, interface _ZtNumeric
       1  0x60030000  method        Max(dblNumber1 As Double, dblNumber2 As Double) As Double  "Gets the max number"
      ...
      10  0x60030009  method        CompressNumber(dblNumber As Double, [intSize As Integer = 9], [intDecimals As Integer = 0]) As String  "Compress a number into a string"
)txt";

const std::string_view kCallHelp = R"txt(Usage: ztl call [--json] [--byref] [--seed N] [--font NAME:SIZE] [--] CLASS.OPERATION [ARG...]

Creates an object of CLASS, calls OPERATION with the arguments and prints the result.
A utility class is created by name; a component is first placed in a fresh container
(so 'ztl call ZtCRC32.GetCRC32 5' works). Every call starts from a new object.
OPERATION is a method or a property get, by name (any case) or by dispatch id
(ZtNumeric.0x6003000C).

Arguments, in parameter order:
  - A tagged value, {"type": ...} as 'ztl serve' writes values (see 'ztl help serve'), is
    that value for every parameter: {"type":"Integer","value":5}, {"type":"Array",...},
    {"type":"String","value":"a\u0000b"} (a String with any character, NUL included).
    One that is not valid (an unknown type, a value out of range, bounds that do not
    match the items) is an error, reported in the words of 'ztl serve'.
  - For a parameter of a fixed type (Long, Double, String, Date ...) any other ARG is
    passed as text and converted as a host passing a text is: "12" to a Long is 12,
    "1,000.5" to a Double is 1000.5, "abc" to a Long is a type mismatch, "70000" to an
    Integer an overflow.
    A Date is written as a date, a time, or both: 2000-02-10, "2000-02-10 18:30",
    "2/10/2000 6:30 PM", 9:30; a day count such as 36526 is no date (a type mismatch).
  - For a Variant, Object or Collection parameter, and for each argument that a parameter
    array (sPrintf's Vals) gathers, an ARG that reads as a JSON value is that value:
      5 -> Long   5.5 -> Double   3000000000 -> Double   "5" (with the quotes) -> String
      true/false -> Boolean   null -> Null
    A plain JSON list ([3,1,2]) is an error that shows the list as a tagged Array. Any
    other ARG (abc, {"a":1}) is a String.
  - Fewer ARGs than parameters leave the optional parameters out: they take their
    defaults (see 'ztl describe CLASS'). Too few or too many ARGs is an error.
  - Options are recognised anywhere before '--'; give '--' before an ARG that starts
    with '--'. A negative number such as -5 is an ARG, not an option.

Output (standard output):
  - A String prints as it is; a number or Boolean as the library's text of it
    (True/False, up to 15 significant digits: 0.1, 1E+15); a Date as ISO 8601,
    2000-01-31T06:30:00, or 2000-01-31 at midnight; Null prints "Null"; Empty
    prints an empty line; an object prints "Object" (Nothing prints "Nothing"); an Error
    value prints "Error N".
  - An array prints its items one per line, in storage order (first dimension fastest);
    a Collection prints its items one per line. Nested arrays are printed item by item.
  - An operation without a result prints nothing (with --json: the Empty value).

Options:
  --json      print the result as a tagged JSON value, exactly as 'ztl serve' writes it
              ({"type":"Long","value":3628800})
  --byref     after the result, print each argument passed to a by-reference
              parameter or a Collection parameter, as it is after the call (as text,
              or one JSON line each with --json)
  --seed N    seed the random generator with the whole number N first, for
              reproducible results (GetRandom, Shuffle ...)
  --font NAME:SIZE
              make a device context whose font is NAME at SIZE pixels (1 to 1000) and
              pass its handle for each ARG written @hdc (the hDC of EllipseText).
              NAME is an installed font family, as 'fc-list : family' lists them
              ("DejaVu Sans", "DejaVu Sans:bold", "monospace"), or fixed-pitch, the
              built-in font in which every character is SIZE pixels wide. An unknown
              family is an error, as is --font without an @hdc ARG
  -h, --help  this text

Errors: an error the call reports (wrong argument count, type mismatch, overflow) prints
"ztl: MESSAGE (error N)" on standard error, N being the platform's error number (13 type
mismatch, 6 overflow, 450 wrong argument count), and exits with status 2. An unknown
class or operation, a bad option, or an ARG that is no valid value ("ztl: argument 1:
Integer value out of range: 70000") also exits with status 2.

Examples:
  ztl call ZtNumeric.Factorial 10                     # 3628800
  ztl call ZtNumeric.IsPrime 97                       # True
  ztl call ZtNumeric.CompressNumber 12345             # intSize 9, intDecimals 0
  ztl call ZtNumeric.CompressNumber 12345 12 2
  ztl call --json ZtNumeric.Factorial 10              # {"type":"Long","value":3628800}
  ztl call ZtStrings.sPrintf "%s and %05d" abc 42     # abc and 00042
  ztl call ZtData.Purge '"5"'                         # the String "5", not the Long 5
  ztl call ZtNumeric.DecompressNumber "$(ztl call --json ZtNumeric.CompressNumber 12345)"
                                                      # 12345: the tagged String keeps every character
  ztl call --seed 7 ZtNumeric.GetRandom 1 6
  ztl call ZtCRC32.GetCRC32 5
  ztl call ZtDate.LastDay "2000-02-10 18:30"          # 2000-02-29T18:30:00
  ztl call --byref --json ZtArrays.Sort '{"type":"Array","of":"Long","bounds":[[0,2]],"items":[3,1,2]}'
  ztl call --font 'DejaVu Sans:12' ZtStrings.EllipseText 'C:\Program Files\App\file.txt' 100 20 @hdc 16384
                                                      # C:\Prog...\file.txt (16384 path, -32768 end)
  ztl call ZtNumeric.Factorial abc                    # ztl: ... (error 13), status 2
)txt";

const std::string_view kServeHelp = R"txt(Usage: ztl serve [--files DIR] [--max-line BYTES]

Answers JSON-RPC 2.0 requests: one request per line on standard input, one response
per line on standard output, nothing else on standard output. End of input ends the
server with status 0. A request without an id is a notification: it runs, and gets no
response. A JSON array of requests is a batch and gets one array of responses. Each
response repeats its request's id exactly as the request wrote it.

Options:
  --files DIR       the folder that files opened by name (ZtBits.FileRead, FileWrite)
                    must lie in; default the current folder, '/' for every file.
                    Relative paths start in DIR; a path that leaves DIR (an absolute
                    path outside it, '..', a symbolic link) is refused: the member
                    returns False. A DIR that is no folder is an error (status 2)
  --max-line BYTES  the longest request line read (default 67108864, 64 MiB); a
                    longer line is skipped and answered with -32600
  -h, --help        this text

Methods (ids are small whole numbers the server hands out):
  create     {"class": NAME}                        -> {"object": ID}   (utility classes)
  container  {}                                     -> {"container": ID}
  place      {"container": ID, "class": NAME, "name": TEXT (optional)}
                                                    -> {"object": ID}   (components)
  invoke     {"object": ID, "member": NAME or DISPID (a number, or text: "0x60030007"),
              "kind": "method" | "get" | "let" (default "method"), "args": [VALUE...]}
                                                    -> {"result": VALUE, "byref": [VALUE...]}
             byref has one entry per argument, in order: the value after the call of
             one passed by reference or holding an object (a Collection to Sort),
             null for any other, which the call cannot change
  release    {"object": ID} or {"container": ID} or {"hdc": N}
                                                    -> {}
             (releasing a container also releases the components placed in it)
  deviceContext {"font": NAME, "size": PIXELS}      -> {"hdc": N}
             a device context to pass as the hDC of EllipseText: NAME an installed
             font family ("DejaVu Sans", "monospace") or "fixed-pitch" (built in, every
             character PIXELS wide), PIXELS 1 to 1000; it lasts until released
  describe   {"class": NAME}                        -> {"class", "progid", "members": [...]}
  randomize  {"seed": N}                            -> {}   (reproducible random numbers)
  save       {"container": ID}                      -> {"data": TEXT}   (a saved form)
  load       {"data": TEXT}                         -> {"container": ID, "objects": {NAME: ID, ...},
                                                        "components": [{"name", "object"}, ...]}
  paint      {"object": ID}                         -> {}   (delivers Paint: the forms are in design mode)

Values: in arguments a JSON string is a String, true/false a Boolean, a whole number a
Long (a Double outside the Long range), another number a Double, null is Null. Any value
may also be tagged, and results always are:
  {"type": "Long", "value": 5}      types Empty, Null, Integer, Long, Single, Double,
                                    Currency, Date, String, Boolean, Byte, Error, Decimal
  Currency and Decimal values are decimal strings ("12.5"); a Date value is its day count
  (36526 is 2000-01-01); non-finite doubles are "Infinity", "-Infinity", "NaN".
  {"type": "Object", "object": ID or null}
  {"type": "Array", "of": "Long", "bounds": [[0, 2]], "items": [3, 1, 2]}
     items in storage order (first dimension fastest); "bounds": [] when unallocated
  {"type": "Collection", "items": [{"value": VALUE, "key": TEXT or null}, ...]}
     creates a collection; written back with its "object" id as well, which a later
     argument may give instead of "items" to pass the same collection again

Errors: -32700 a line that is no JSON, holds a NUL byte or nests arrays and objects
deeper than 256 levels (the server goes on; the message says at which byte), -32600 not
a request or a line longer than --max-line, -32601 unknown method, -32602 bad params
(unknown id or class, bad value; a number beyond a Double or text that is no UTF-8,
answered with the request's id), -32000 an error the call reports (message, and the
platform's error number in "data": 13 type mismatch, 6 overflow, 438 no such member,
450 wrong argument count).

Example session (> request, < response):
  > {"jsonrpc":"2.0","id":1,"method":"create","params":{"class":"ZtNumeric"}}
  < {"jsonrpc":"2.0","id":1,"result":{"object":1}}
  > {"jsonrpc":"2.0","id":2,"method":"invoke","params":{"object":1,"member":"IsPrime","args":[97]}}
  < {"jsonrpc":"2.0","id":2,"result":{"result":{"type":"Boolean","value":true},"byref":[null]}}
  > {"jsonrpc":"2.0","id":3,"method":"invoke","params":{"object":1,"member":"Factorial","args":["x"]}}
  < {"jsonrpc":"2.0","id":3,"error":{"code":-32000,"message":"Type mismatch: ...","data":13}}
)txt";

std::string_view CommandHelp(std::string_view command) {
  if (command == "list") return kListHelp;
  if (command == "describe") return kDescribeHelp;
  if (command == "call") return kCallHelp;
  if (command == "serve") return kServeHelp;
  if (command == "resources") return kResourcesHelp;
  if (command == "help") return kMainHelp;
  return {};
}

}  // namespace ztl::cli
