// Typed.g.cs: the typed classes of the ZTLData type library, written by
// bindings/dotnet/make_typed.py from the library itself; do not edit by hand.

namespace ZtlData
{
    public enum ztlEllipseText
    {
        ztlEllipsePath = 16384,
        ztlEllipseEnd = -32768,
    }

    public enum ztlStackStrategy
    {
        ztlStackFIFO = 0,
        ztlStackLIFO = 1,
    }

    /// <summary>ZTLData.ZtArrays, a utility class: its members called by dispatch id.</summary>
    public sealed class ZtArrays : ZtlTyped
    {
        public ZtArrays() : base("ZtArrays") { }
        /// <summary>The typed view of a ZtArrays used late-bound.</summary>
        public ZtArrays(ZtlObject obj) : base(obj, "ZtArrays") { }

        /// <summary>Gets the number of dimensions of an array</summary>
        public short Dimensions(System.Array aArray)
        {
            object[] args = new object[] { aArray };
            object result = Call(1610809344, CallKind.Method, "Dimensions", args);
            return Result<short>(result);
        }

        /// <summary>Determines if an array is empty</summary>
        public bool IsEmpty(System.Array aArray)
        {
            object[] args = new object[] { aArray };
            object result = Call(1610809345, CallKind.Method, "IsEmpty", args);
            return Result<bool>(result);
        }

        /// <summary>Gets the max element of an array</summary>
        public object GetMax(System.Array aArray)
        {
            object[] args = new object[] { aArray };
            object result = Call(1610809346, CallKind.Method, "GetMax", args);
            return Result<object>(result);
        }

        /// <summary>Gets the min element of an array</summary>
        public object GetMin(System.Array aArray)
        {
            object[] args = new object[] { aArray };
            object result = Call(1610809347, CallKind.Method, "GetMin", args);
            return Result<object>(result);
        }

        /// <summary>Gets the medium value of an array</summary>
        public object GetMed(System.Array aArray)
        {
            object[] args = new object[] { aArray };
            object result = Call(1610809348, CallKind.Method, "GetMed", args);
            return Result<object>(result);
        }

        /// <summary>Gets the sum of an array</summary>
        public object GetSum(System.Array aArray)
        {
            object[] args = new object[] { aArray };
            object result = Call(1610809349, CallKind.Method, "GetSum", args);
            return Result<object>(result);
        }

        /// <summary>Searches a value in an array</summary>
        public int Search(System.Array aArray, object vntKey)
        {
            object[] args = new object[] { aArray, vntKey };
            object result = Call(1610809350, CallKind.Method, "Search", args);
            return Result<int>(result);
        }

        /// <summary>Makes a binary search into an ordered array</summary>
        public int BinarySearch(System.Array aArray, object vntKey)
        {
            object[] args = new object[] { aArray, vntKey };
            object result = Call(1610809351, CallKind.Method, "BinarySearch", args);
            return Result<int>(result);
        }

        /// <summary>Sorts an array</summary>
        public void Sort(System.Array aArray)
        {
            object[] args = new object[] { aArray };
            Call(1610809352, CallKind.Method, "Sort", args);
        }

        /// <summary>Unsorts an array</summary>
        public void Shuffle(System.Array aArray)
        {
            object[] args = new object[] { aArray };
            Call(1610809353, CallKind.Method, "Shuffle", args);
        }
    }

    /// <summary>ZTLData.ZtBases, a utility class: its members called by dispatch id.</summary>
    public sealed class ZtBases : ZtlTyped
    {
        public ZtBases() : base("ZtBases") { }
        /// <summary>The typed view of a ZtBases used late-bound.</summary>
        public ZtBases(ZtlObject obj) : base(obj, "ZtBases") { }

        /// <summary>Gets the low word of a number</summary>
        public int LoWord(int lngLong)
        {
            object[] args = new object[] { lngLong };
            object result = Call(1610809344, CallKind.Method, "LoWord", args);
            return Result<int>(result);
        }

        /// <summary>Gets the high word of a number</summary>
        public int HiWord(int lngLong)
        {
            object[] args = new object[] { lngLong };
            object result = Call(1610809345, CallKind.Method, "HiWord", args);
            return Result<int>(result);
        }

        /// <summary>Gets the low byte of a number</summary>
        public short LoByte(int lngInteger)
        {
            object[] args = new object[] { lngInteger };
            object result = Call(1610809346, CallKind.Method, "LoByte", args);
            return Result<short>(result);
        }

        /// <summary>Gets the high byte of a number</summary>
        public short HiByte(int lngInteger)
        {
            object[] args = new object[] { lngInteger };
            object result = Call(1610809347, CallKind.Method, "HiByte", args);
            return Result<short>(result);
        }

        /// <summary>Changes a bit in a number</summary>
        public int SetBit(int lngValue, short intPos, bool blnSet)
        {
            object[] args = new object[] { lngValue, intPos, blnSet };
            object result = Call(1610809348, CallKind.Method, "SetBit", args);
            return Result<int>(result);
        }

        /// <summary>Gets a boolean indicating if a specified bit is on</summary>
        public bool GetBit(int lngValue, short intPos)
        {
            object[] args = new object[] { lngValue, intPos };
            object result = Call(1610809349, CallKind.Method, "GetBit", args);
            return Result<bool>(result);
        }

        /// <summary>Converts a string in a specified base to decimal number</summary>
        public int Base2Long(string strNumber, short intBase)
        {
            object[] args = new object[] { strNumber, intBase };
            object result = Call(1610809350, CallKind.Method, "Base2Long", args);
            return Result<int>(result);
        }

        /// <summary>Converts a decimal number to a string in a specified base</summary>
        public string Long2Base(int lngNumber, short intBase)
        {
            object[] args = new object[] { lngNumber, intBase };
            object result = Call(1610809351, CallKind.Method, "Long2Base", args);
            return Result<string>(result);
        }

        /// <summary>Rotates a word to left the specified times</summary>
        public short LShiftWord(short intWord, short intTimes)
        {
            object[] args = new object[] { intWord, intTimes };
            object result = Call(1610809352, CallKind.Method, "LShiftWord", args);
            return Result<short>(result);
        }

        /// <summary>Rotates a word to right the specified times</summary>
        public short RShiftWord(short intWord, short intTimes)
        {
            object[] args = new object[] { intWord, intTimes };
            object result = Call(1610809353, CallKind.Method, "RShiftWord", args);
            return Result<short>(result);
        }

        /// <summary>Makes a word with two bytes</summary>
        public short MakeWord(byte intHigh, byte intLow)
        {
            object[] args = new object[] { intHigh, intLow };
            object result = Call(1610809354, CallKind.Method, "MakeWord", args);
            return Result<short>(result);
        }

        /// <summary>Makes a double word with two words</summary>
        public int MakeDWord(short intHigh, short intLow)
        {
            object[] args = new object[] { intHigh, intLow };
            object result = Call(1610809355, CallKind.Method, "MakeDWord", args);
            return Result<int>(result);
        }
    }

    /// <summary>ZTLData.ZtConversion, a utility class: its members called by dispatch id.</summary>
    public sealed class ZtConversion : ZtlTyped
    {
        public ZtConversion() : base("ZtConversion") { }
        /// <summary>The typed view of a ZtConversion used late-bound.</summary>
        public ZtConversion(ZtlObject obj) : base(obj, "ZtConversion") { }

        /// <summary>Converts from Fahrenheit to Celsius</summary>
        public double FahToCel(double dblDegrees)
        {
            object[] args = new object[] { dblDegrees };
            object result = Call(1610809344, CallKind.Method, "FahToCel", args);
            return Result<double>(result);
        }

        /// <summary>Converts from Celsius to Fahrenheit </summary>
        public double CelToFah(double dblDegrees)
        {
            object[] args = new object[] { dblDegrees };
            object result = Call(1610809345, CallKind.Method, "CelToFah", args);
            return Result<double>(result);
        }

        /// <summary>Converts from cubic meters into cubic yards</summary>
        public double Mt3ToYd3(double dblMeters)
        {
            object[] args = new object[] { dblMeters };
            object result = Call(1610809346, CallKind.Method, "Mt3ToYd3", args);
            return Result<double>(result);
        }

        /// <summary>Converts from cubic yards into cubic meters</summary>
        public double Yd3ToMt3(double dblYards)
        {
            object[] args = new object[] { dblYards };
            object result = Call(1610809347, CallKind.Method, "Yd3ToMt3", args);
            return Result<double>(result);
        }

        /// <summary>Converts from square meters into square yards</summary>
        public double Mt2ToYd2(double dblMeters)
        {
            object[] args = new object[] { dblMeters };
            object result = Call(1610809348, CallKind.Method, "Mt2ToYd2", args);
            return Result<double>(result);
        }

        /// <summary>Converts from square yards into square meters</summary>
        public double Yd2ToMt2(double dblYards)
        {
            object[] args = new object[] { dblYards };
            object result = Call(1610809349, CallKind.Method, "Yd2ToMt2", args);
            return Result<double>(result);
        }

        /// <summary>Converts from meters into yards</summary>
        public double MtToYd(double dblMeters)
        {
            object[] args = new object[] { dblMeters };
            object result = Call(1610809350, CallKind.Method, "MtToYd", args);
            return Result<double>(result);
        }

        /// <summary>Converts from yards into meters</summary>
        public double YdToMt(double dblYards)
        {
            object[] args = new object[] { dblYards };
            object result = Call(1610809351, CallKind.Method, "YdToMt", args);
            return Result<double>(result);
        }

        /// <summary>Converts from Acres into hectares</summary>
        public double AcreToHa(double dblAcre)
        {
            object[] args = new object[] { dblAcre };
            object result = Call(1610809352, CallKind.Method, "AcreToHa", args);
            return Result<double>(result);
        }

        /// <summary>Converts from hectares into acres</summary>
        public double HaToAcre(double dblHa)
        {
            object[] args = new object[] { dblHa };
            object result = Call(1610809353, CallKind.Method, "HaToAcre", args);
            return Result<double>(result);
        }

        /// <summary>Converts from Acres into meters</summary>
        public double AcreToM(double dblAcre)
        {
            object[] args = new object[] { dblAcre };
            object result = Call(1610809354, CallKind.Method, "AcreToM", args);
            return Result<double>(result);
        }

        /// <summary>Converts from meters into acres</summary>
        public double MToAcre(double dblMeters)
        {
            object[] args = new object[] { dblMeters };
            object result = Call(1610809355, CallKind.Method, "MToAcre", args);
            return Result<double>(result);
        }

        /// <summary>Converts from centimeters into inches</summary>
        public double CmToInch(double dblCm)
        {
            object[] args = new object[] { dblCm };
            object result = Call(1610809356, CallKind.Method, "CmToInch", args);
            return Result<double>(result);
        }

        /// <summary>Converts from inches into cubic meters</summary>
        public double InchToCm(double dblInch)
        {
            object[] args = new object[] { dblInch };
            object result = Call(1610809357, CallKind.Method, "InchToCm", args);
            return Result<double>(result);
        }

        /// <summary>Converts from cubic centimeters into cubic inches</summary>
        public double CCToInch(double dblCC)
        {
            object[] args = new object[] { dblCC };
            object result = Call(1610809358, CallKind.Method, "CCToInch", args);
            return Result<double>(result);
        }

        /// <summary>Converts from inches into acres cubic centimeters</summary>
        public double InchToCC(double dblInch)
        {
            object[] args = new object[] { dblInch };
            object result = Call(1610809359, CallKind.Method, "InchToCC", args);
            return Result<double>(result);
        }

        /// <summary>Converts from grams into ounces</summary>
        public double GrToOz(double dblGr)
        {
            object[] args = new object[] { dblGr };
            object result = Call(1610809360, CallKind.Method, "GrToOz", args);
            return Result<double>(result);
        }

        /// <summary>Converts from ounces into grams</summary>
        public double OzToGr(double dblOz)
        {
            object[] args = new object[] { dblOz };
            object result = Call(1610809361, CallKind.Method, "OzToGr", args);
            return Result<double>(result);
        }

        /// <summary>Converts from kilograms into pounds</summary>
        public double KgToLb(double dblKg)
        {
            object[] args = new object[] { dblKg };
            object result = Call(1610809362, CallKind.Method, "KgToLb", args);
            return Result<double>(result);
        }

        /// <summary>Converts from pounds into kilograms</summary>
        public double LbToKg(double dblLb)
        {
            object[] args = new object[] { dblLb };
            object result = Call(1610809363, CallKind.Method, "LbToKg", args);
            return Result<double>(result);
        }

        /// <summary>Converts from cubic feet into liter</summary>
        public double CFToLtr(double dblCF)
        {
            object[] args = new object[] { dblCF };
            object result = Call(1610809364, CallKind.Method, "CFToLtr", args);
            return Result<double>(result);
        }

        /// <summary>Converts from liter into cubic feet</summary>
        public double LtrToCF(double dblLtr)
        {
            object[] args = new object[] { dblLtr };
            object result = Call(1610809365, CallKind.Method, "LtrToCF", args);
            return Result<double>(result);
        }

        /// <summary>Converts from gallons into liters</summary>
        public double GalToLtr(double dblGal)
        {
            object[] args = new object[] { dblGal };
            object result = Call(1610809366, CallKind.Method, "GalToLtr", args);
            return Result<double>(result);
        }

        /// <summary>Converts from liters into gallons</summary>
        public double LtrToGal(double dblLtr)
        {
            object[] args = new object[] { dblLtr };
            object result = Call(1610809367, CallKind.Method, "LtrToGal", args);
            return Result<double>(result);
        }
    }

    /// <summary>ZTLData.ZtCollections, a utility class: its members called by dispatch id.</summary>
    public sealed class ZtCollections : ZtlTyped
    {
        public ZtCollections() : base("ZtCollections") { }
        /// <summary>The typed view of a ZtCollections used late-bound.</summary>
        public ZtCollections(ZtlObject obj) : base(obj, "ZtCollections") { }

        /// <summary>Searches a value in a collection</summary>
        public int Search(Collection cllCollection, object vntKey)
        {
            object[] args = new object[] { cllCollection, vntKey };
            object result = Call(1610809345, CallKind.Method, "Search", args);
            return Result<int>(result);
        }

        /// <summary>Searches a value in an ordered collection</summary>
        public int BinarySearch(Collection cllCollection, object vntKey)
        {
            object[] args = new object[] { cllCollection, vntKey };
            object result = Call(1610809346, CallKind.Method, "BinarySearch", args);
            return Result<int>(result);
        }

        /// <summary>Sorts a collection</summary>
        public void Sort(Collection cllCollection)
        {
            object[] args = new object[] { cllCollection };
            Call(1610809347, CallKind.Method, "Sort", args);
        }

        /// <summary>Shuffles a collection</summary>
        public void Shuffle(Collection cllCollection)
        {
            object[] args = new object[] { cllCollection };
            Call(1610809348, CallKind.Method, "Shuffle", args);
        }

        public object SearchByKey(Collection cllCollection, object vntKey)
        {
            object[] args = new object[] { cllCollection, vntKey };
            object result = Call(1610809350, CallKind.Method, "SearchByKey", args);
            return Result<object>(result);
        }
    }

    /// <summary>ZTLData.ZtDate, a utility class: its members called by dispatch id.</summary>
    public sealed class ZtDate : ZtlTyped
    {
        public ZtDate() : base("ZtDate") { }
        /// <summary>The typed view of a ZtDate used late-bound.</summary>
        public ZtDate(ZtlObject obj) : base(obj, "ZtDate") { }

        /// <summary>Gets a date with the last day of the month</summary>
        public System.DateTime LastDay(System.DateTime datDate)
        {
            object[] args = new object[] { datDate };
            object result = Call(1610809344, CallKind.Method, "LastDay", args);
            return Result<System.DateTime>(result);
        }

        /// <summary>Gets a date with the first day of the month</summary>
        public System.DateTime FirstDay(System.DateTime datDate)
        {
            object[] args = new object[] { datDate };
            object result = Call(1610809345, CallKind.Method, "FirstDay", args);
            return Result<System.DateTime>(result);
        }

        /// <summary>Determines if a year is leap</summary>
        public bool IsLeap(System.DateTime datDate)
        {
            object[] args = new object[] { datDate };
            object result = Call(1610809346, CallKind.Method, "IsLeap", args);
            return Result<bool>(result);
        }

        /// <summary>Converts from Gregorian date to Julian date</summary>
        public short GregorianToJulian(System.DateTime datDate)
        {
            object[] args = new object[] { datDate };
            object result = Call(1610809347, CallKind.Method, "GregorianToJulian", args);
            return Result<short>(result);
        }

        /// <summary>Converts a Julian date to Gregorian date</summary>
        public System.DateTime JulianToGregorian(short intYear, short intDays)
        {
            object[] args = new object[] { intYear, intDays };
            object result = Call(1610809348, CallKind.Method, "JulianToGregorian", args);
            return Result<System.DateTime>(result);
        }

        /// <summary>Gets the weekday name of a date</summary>
        public string GetWeekDayName(System.DateTime datDate)
        {
            object[] args = new object[] { datDate };
            object result = Call(1610809349, CallKind.Method, "GetWeekDayName", args);
            return Result<string>(result);
        }

        /// <summary>Gets the short weekday name of a date</summary>
        public string GetWeekDayAbbrev(System.DateTime datDate)
        {
            object[] args = new object[] { datDate };
            object result = Call(1610809350, CallKind.Method, "GetWeekDayAbbrev", args);
            return Result<string>(result);
        }

        /// <summary>Gets the weekday number of a date</summary>
        public short GetWeekDayNumber(System.DateTime datDate)
        {
            object[] args = new object[] { datDate };
            object result = Call(1610809351, CallKind.Method, "GetWeekDayNumber", args);
            return Result<short>(result);
        }

        /// <summary>Gets the month name of a date</summary>
        public string GetMonthName(System.DateTime datDate)
        {
            object[] args = new object[] { datDate };
            object result = Call(1610809352, CallKind.Method, "GetMonthName", args);
            return Result<string>(result);
        }

        /// <summary>Gets the short month name of a date</summary>
        public string GetMonthAbbrev(System.DateTime datDate)
        {
            object[] args = new object[] { datDate };
            object result = Call(1610809353, CallKind.Method, "GetMonthAbbrev", args);
            return Result<string>(result);
        }

        /// <summary>Gets the max date</summary>
        public System.DateTime GetMax(System.DateTime datDate1, System.DateTime datDate2)
        {
            object[] args = new object[] { datDate1, datDate2 };
            object result = Call(1610809354, CallKind.Method, "GetMax", args);
            return Result<System.DateTime>(result);
        }

        /// <summary>Gets the min date</summary>
        public System.DateTime GetMin(System.DateTime datDate1, System.DateTime datDate2)
        {
            object[] args = new object[] { datDate1, datDate2 };
            object result = Call(1610809355, CallKind.Method, "GetMin", args);
            return Result<System.DateTime>(result);
        }

        /// <summary>Converts a string to time</summary>
        public System.DateTime Str2Time(string strTime)
        {
            object[] args = new object[] { strTime };
            object result = Call(1610809356, CallKind.Method, "Str2Time", args);
            return Result<System.DateTime>(result);
        }
    }

    /// <summary>ZTLData.ZtData, a utility class: its members called by dispatch id.</summary>
    public sealed class ZtData : ZtlTyped
    {
        public ZtData() : base("ZtData") { }
        /// <summary>The typed view of a ZtData used late-bound.</summary>
        public ZtData(ZtlObject obj) : base(obj, "ZtData") { }

        /// <summary>Purges the value of a variable</summary>
        public object Purge(object xVar)
        {
            object[] args = new object[] { xVar };
            object result = Call(1610809344, CallKind.Method, "Purge", args);
            return Result<object>(result);
        }

        /// <summary>Interchanges the value of  two variables</summary>
        public void Inter(ref object xVar1, ref object xVar2)
        {
            object[] args = new object[] { xVar1, xVar2 };
            Call(1610809345, CallKind.Method, "Inter", args);
            xVar1 = args[0];
            xVar2 = args[1];
        }
    }

    /// <summary>ZTLData.ZtNumeric, a utility class: its members called by dispatch id.</summary>
    public sealed class ZtNumeric : ZtlTyped
    {
        public ZtNumeric() : base("ZtNumeric") { }
        /// <summary>The typed view of a ZtNumeric used late-bound.</summary>
        public ZtNumeric(ZtlObject obj) : base(obj, "ZtNumeric") { }

        /// <summary>Gets the max number</summary>
        public double Max(double dblNumber1, double dblNumber2)
        {
            object[] args = new object[] { dblNumber1, dblNumber2 };
            object result = Call(1610809344, CallKind.Method, "Max", args);
            return Result<double>(result);
        }

        /// <summary>Gets the min number</summary>
        public double Min(double dblNumber1, double dblNumber2)
        {
            object[] args = new object[] { dblNumber1, dblNumber2 };
            object result = Call(1610809345, CallKind.Method, "Min", args);
            return Result<double>(result);
        }

        /// <summary>Rounds a number</summary>
        public double Round(double dblValue, short intDecimals)
        {
            object[] args = new object[] { dblValue, intDecimals };
            object result = Call(1610809346, CallKind.Method, "Round", args);
            return Result<double>(result);
        }

        /// <summary>Generates a random number</summary>
        public int GetRandom(int lngLow, int lngHigh)
        {
            object[] args = new object[] { lngLow, lngHigh };
            object result = Call(1610809347, CallKind.Method, "GetRandom", args);
            return Result<int>(result);
        }

        /// <summary>Calculates the E number</summary>
        public double GetE()
        {
            object[] args = new object[0];
            object result = Call(1610809348, CallKind.Method, "GetE", args);
            return Result<double>(result);
        }

        /// <summary>Calculates the base N logarithm of a number</summary>
        public double LogN(double dblNumber, short intBase)
        {
            object[] args = new object[] { dblNumber, intBase };
            object result = Call(1610809349, CallKind.Method, "LogN", args);
            return Result<double>(result);
        }

        /// <summary>Calculates the base 10 logarithm of a number</summary>
        public double Log10(double dblNumber)
        {
            object[] args = new object[] { dblNumber };
            object result = Call(1610809350, CallKind.Method, "Log10", args);
            return Result<double>(result);
        }

        /// <summary>Calculates the factorial of a number</summary>
        public int Factorial(int lngNumber)
        {
            object[] args = new object[] { lngNumber };
            object result = Call(1610809351, CallKind.Method, "Factorial", args);
            return Result<int>(result);
        }

        /// <summary>Calculates the sum of a number</summary>
        public int Sum(int lngNumber)
        {
            object[] args = new object[] { lngNumber };
            object result = Call(1610809352, CallKind.Method, "Sum", args);
            return Result<int>(result);
        }

        /// <summary>Compress a number into a string</summary>
        public string CompressNumber(double dblNumber, short intSize = 9, short intDecimals = 0)
        {
            object[] args = new object[] { dblNumber, intSize, intDecimals };
            object result = Call(1610809353, CallKind.Method, "CompressNumber", args);
            return Result<string>(result);
        }

        /// <summary>Decompress a string into a number</summary>
        public double DecompressNumber(string strNumber, short intSize = 9, short intDecimals = 0)
        {
            object[] args = new object[] { strNumber, intSize, intDecimals };
            object result = Call(1610809354, CallKind.Method, "DecompressNumber", args);
            return Result<double>(result);
        }

        /// <summary>Converts a number into an English string</summary>
        public string Num2Letter(int lngNumber)
        {
            object[] args = new object[] { lngNumber };
            object result = Call(1610809355, CallKind.Method, "Num2Letter", args);
            return Result<string>(result);
        }

        /// <summary>Determines if a number is prime</summary>
        public bool IsPrime(int lngNumber)
        {
            object[] args = new object[] { lngNumber };
            object result = Call(1610809356, CallKind.Method, "IsPrime", args);
            return Result<bool>(result);
        }

        /// <summary>Determines if a number is even</summary>
        public bool IsEven(int lngNumber)
        {
            object[] args = new object[] { lngNumber };
            object result = Call(1610809357, CallKind.Method, "IsEven", args);
            return Result<bool>(result);
        }

        /// <summary>Determines if a number is odd</summary>
        public bool IsOdd(int lngNumber)
        {
            object[] args = new object[] { lngNumber };
            object result = Call(1610809358, CallKind.Method, "IsOdd", args);
            return Result<bool>(result);
        }

        /// <summary>Generates a 128 bits unique number diferent for each machine</summary>
        public string GetUniqueNumber()
        {
            object[] args = new object[0];
            object result = Call(1610809359, CallKind.Method, "GetUniqueNumber", args);
            return Result<string>(result);
        }

        /// <summary>Converts an arabic number to roman</summary>
        public string ToRoman(short intNumber)
        {
            object[] args = new object[] { intNumber };
            object result = Call(1610809360, CallKind.Method, "ToRoman", args);
            return Result<string>(result);
        }

        /// <summary>Converts a roman number to arabic</summary>
        public short ToArabic(string strRoman)
        {
            object[] args = new object[] { strRoman };
            object result = Call(1610809361, CallKind.Method, "ToArabic", args);
            return Result<short>(result);
        }

        public double Root(double dblNumber, double dblRoot)
        {
            object[] args = new object[] { dblNumber, dblRoot };
            object result = Call(1610809362, CallKind.Method, "Root", args);
            return Result<double>(result);
        }

        public double Power(double dblNumber, double dblPower)
        {
            object[] args = new object[] { dblNumber, dblPower };
            object result = Call(1610809363, CallKind.Method, "Power", args);
            return Result<double>(result);
        }
    }

    /// <summary>ZTLData.ZtObjects, a utility class: its members called by dispatch id.</summary>
    public sealed class ZtObjects : ZtlTyped
    {
        public ZtObjects() : base("ZtObjects") { }
        /// <summary>The typed view of a ZtObjects used late-bound.</summary>
        public ZtObjects(ZtlObject obj) : base(obj, "ZtObjects") { }

        /// <summary>Determines if an object is set or nothing</summary>
        public bool IsSet(dynamic objObject)
        {
            object[] args = new object[] { Nothing(objObject) };
            object result = Call(1610809344, CallKind.Method, "IsSet", args);
            return Result<bool>(result);
        }
    }

    /// <summary>ZTLData.ZtStrings, a utility class: its members called by dispatch id.</summary>
    public sealed class ZtStrings : ZtlTyped
    {
        public ZtStrings() : base("ZtStrings") { }
        /// <summary>The typed view of a ZtStrings used late-bound.</summary>
        public ZtStrings(ZtlObject obj) : base(obj, "ZtStrings") { }

        /// <summary>Expands a text with other text</summary>
        public string Expand(string strSource, string strChars = " ")
        {
            object[] args = new object[] { strSource, strChars };
            object result = Call(1610809344, CallKind.Method, "Expand", args);
            return Result<string>(result);
        }

        /// <summary>Capitalizes a text (This Is A Example)</summary>
        public string Capital(string strSource)
        {
            object[] args = new object[] { strSource };
            object result = Call(1610809345, CallKind.Method, "Capital", args);
            return Result<string>(result);
        }

        /// <summary>Gets the number of occurrences of a string is into other</summary>
        public int Occurs(string strCheckIn, string strCheckFor)
        {
            object[] args = new object[] { strCheckIn, strCheckFor };
            object result = Call(1610809346, CallKind.Method, "Occurs", args);
            return Result<int>(result);
        }

        /// <summary>Pads a string</summary>
        public string Pad(string strBuffer, short intLength, short intCharPad = 32)
        {
            object[] args = new object[] { strBuffer, intLength, intCharPad };
            object result = Call(1610809347, CallKind.Method, "Pad", args);
            return Result<string>(result);
        }

        /// <summary>Replaces a string into other</summary>
        public string Replace(string strString, string strSearch, string strReplace = "")
        {
            object[] args = new object[] { strString, strSearch, strReplace };
            object result = Call(1610809348, CallKind.Method, "Replace", args);
            return Result<string>(result);
        }

        public string ReplaceAll(string strString, string strSearch, string strReplace = "")
        {
            object[] args = new object[] { strString, strSearch, strReplace };
            object result = Call(1610809349, CallKind.Method, "ReplaceAll", args);
            return Result<string>(result);
        }

        /// <summary>Fills a collection with the positions of the occurrences of a string in other</summary>
        public int InStrAdv(string strBuffer, string strSearch, Collection cllCollection)
        {
            object[] args = new object[] { strBuffer, strSearch, cllCollection };
            object result = Call(1610809350, CallKind.Method, "InStrAdv", args);
            return Result<int>(result);
        }

        /// <summary>Transforms a string in a process similar to the C printf function</summary>
        public string sPrintf(string strText, params object[] Vals)
        {
            object[] args = Spread(new object[] { strText }, Vals);
            object result = Call(1610809351, CallKind.Method, "sPrintf", args);
            return Result<string>(result);
        }

        /// <summary>Determines if a buffer is alphabetic</summary>
        public bool IsAlpha(string strString)
        {
            object[] args = new object[] { strString };
            object result = Call(1610809352, CallKind.Method, "IsAlpha", args);
            return Result<bool>(result);
        }

        /// <summary>Determines if a buffer is alphanumeric</summary>
        public bool IsAlphaNumeric(string strString)
        {
            object[] args = new object[] { strString };
            object result = Call(1610809353, CallKind.Method, "IsAlphaNumeric", args);
            return Result<bool>(result);
        }

        /// <summary>Determines if a text is numeric</summary>
        public bool IsNumeric(string strString)
        {
            object[] args = new object[] { strString };
            object result = Call(1610809354, CallKind.Method, "IsNumeric", args);
            return Result<bool>(result);
        }

        /// <summary>Converts a string from windows format to OEM</summary>
        public string WinToOem(string strText)
        {
            object[] args = new object[] { strText };
            object result = Call(1610809355, CallKind.Method, "WinToOem", args);
            return Result<string>(result);
        }

        /// <summary>Converts a string from OEM to windows format</summary>
        public string OemToWin(string strText)
        {
            object[] args = new object[] { strText };
            object result = Call(1610809356, CallKind.Method, "OemToWin", args);
            return Result<string>(result);
        }

        public string ASCIIToEBCDIC(string strASCII)
        {
            object[] args = new object[] { strASCII };
            object result = Call(1610809357, CallKind.Method, "ASCIIToEBCDIC", args);
            return Result<string>(result);
        }

        public byte[] ASCIIToEBCDIC(byte[] strASCII)
        {
            object[] args = new object[] { strASCII };
            object result = Call(1610809357, CallKind.Method, "ASCIIToEBCDIC", args);
            return Result<byte[]>(result);
        }

        public string EBCDICToASCII(string strEBCDIC)
        {
            object[] args = new object[] { strEBCDIC };
            object result = Call(1610809358, CallKind.Method, "EBCDICToASCII", args);
            return Result<string>(result);
        }

        public byte[] EBCDICToASCII(byte[] strEBCDIC)
        {
            object[] args = new object[] { strEBCDIC };
            object result = Call(1610809358, CallKind.Method, "EBCDICToASCII", args);
            return Result<byte[]>(result);
        }

        public string EllipseText(string strText, int lngWidth, int lngHeight, int hDC, ztlEllipseText intStyle)
        {
            object[] args = new object[] { strText, lngWidth, lngHeight, hDC, intStyle };
            object result = Call(1610809359, CallKind.Method, "EllipseText", args);
            return Result<string>(result);
        }
    }

    /// <summary>ZTLData.ZtBits, a component: its members called by dispatch id.</summary>
    public sealed class ZtBits : ZtlTyped
    {
        /// <summary>Places a new ZtBits in a container, under a name or its class name and a number.</summary>
        public ZtBits(Container container, string name = null) : base(container, "ZtBits", name) { }
        /// <summary>The typed view of a ZtBits used late-bound.</summary>
        public ZtBits(ZtlObject obj) : base(obj, "ZtBits") { }

        public void About()
        {
            object[] args = new object[0];
            Call(-552, CallKind.Method, "About", args);
        }

        public void Create(int lngBitsSize, bool blnPreserve = true)
        {
            object[] args = new object[] { lngBitsSize, blnPreserve };
            Call(1610809351, CallKind.Method, "Create", args);
        }

        public bool FileRead(string strFile)
        {
            object[] args = new object[] { strFile };
            object result = Call(1610809352, CallKind.Method, "FileRead", args);
            return Result<bool>(result);
        }

        public bool FileWrite(string strFile)
        {
            object[] args = new object[] { strFile };
            object result = Call(1610809353, CallKind.Method, "FileWrite", args);
            return Result<bool>(result);
        }

        public bool Enabled
        {
            get { return Result<bool>(Call(-514, CallKind.Get, "Enabled")); }
            set { Call(-514, CallKind.Let, "Enabled", value); }
        }

        public int Size
        {
            get { return Result<int>(Call(1745027073, CallKind.Get, "Size")); }
        }

        public bool GetBit(int lngIndex)
        {
            object[] args = new object[] { lngIndex };
            object result = Call(1745027072, CallKind.Get, "Bit", args);
            return Result<bool>(result);
        }
        public void SetBit(int lngIndex, bool value)
        {
            object[] args = new object[] { lngIndex, value };
            Call(1745027072, CallKind.Let, "Bit", args);
        }
    }

    /// <summary>ZTLData.ZtStack, a component: its members called by dispatch id.</summary>
    public sealed class ZtStack : ZtlTyped
    {
        /// <summary>Places a new ZtStack in a container, under a name or its class name and a number.</summary>
        public ZtStack(Container container, string name = null) : base(container, "ZtStack", name) { }
        /// <summary>The typed view of a ZtStack used late-bound.</summary>
        public ZtStack(ZtlObject obj) : base(obj, "ZtStack") { }

        public void About()
        {
            object[] args = new object[0];
            Call(-552, CallKind.Method, "About", args);
        }

        public void Clear()
        {
            object[] args = new object[0];
            Call(1610809351, CallKind.Method, "Clear", args);
        }

        public object Push(object vntData)
        {
            object[] args = new object[] { vntData };
            object result = Call(1610809352, CallKind.Method, "Push", args);
            return Result<object>(result);
        }

        public object Pop()
        {
            object[] args = new object[0];
            object result = Call(1610809353, CallKind.Method, "Pop", args);
            return Result<object>(result);
        }

        public object Peek()
        {
            object[] args = new object[0];
            object result = Call(1610809354, CallKind.Method, "Peek", args);
            return Result<object>(result);
        }

        public bool Enabled
        {
            get { return Result<bool>(Call(-514, CallKind.Get, "Enabled")); }
            set { Call(-514, CallKind.Let, "Enabled", value); }
        }

        public ztlStackStrategy Strategy
        {
            get { return Result<ztlStackStrategy>(Call(1745027074, CallKind.Get, "Strategy")); }
            set { Call(1745027074, CallKind.Let, "Strategy", value); }
        }

        public bool IsEmpty
        {
            get { return Result<bool>(Call(1745027073, CallKind.Get, "IsEmpty")); }
        }

        public int Size
        {
            get { return Result<int>(Call(1745027072, CallKind.Get, "Size")); }
        }
    }

    /// <summary>ZTLData.ZtToken, a component: its members called by dispatch id.</summary>
    public sealed class ZtToken : ZtlTyped
    {
        /// <summary>Places a new ZtToken in a container, under a name or its class name and a number.</summary>
        public ZtToken(Container container, string name = null) : base(container, "ZtToken", name) { }
        /// <summary>The typed view of a ZtToken used late-bound.</summary>
        public ZtToken(ZtlObject obj) : base(obj, "ZtToken") { }

        public void About()
        {
            object[] args = new object[0];
            Call(-552, CallKind.Method, "About", args);
        }

        public void Create(string strList, string strDelimiters = "")
        {
            object[] args = new object[] { strList, strDelimiters };
            Call(1610809349, CallKind.Method, "Create", args);
        }

        public string GetToken(int lngToken)
        {
            object[] args = new object[] { lngToken };
            object result = Call(1610809350, CallKind.Method, "GetToken", args);
            return Result<string>(result);
        }

        public bool Enabled
        {
            get { return Result<bool>(Call(-514, CallKind.Get, "Enabled")); }
            set { Call(-514, CallKind.Let, "Enabled", value); }
        }

        public int Count
        {
            get { return Result<int>(Call(1745027072, CallKind.Get, "Count")); }
        }
    }

    /// <summary>ZTLData.ZtRLE, a component: its members called by dispatch id.</summary>
    public sealed class ZtRLE : ZtlTyped
    {
        /// <summary>Places a new ZtRLE in a container, under a name or its class name and a number.</summary>
        public ZtRLE(Container container, string name = null) : base(container, "ZtRLE", name) { }
        /// <summary>The typed view of a ZtRLE used late-bound.</summary>
        public ZtRLE(ZtlObject obj) : base(obj, "ZtRLE") { }

        public void About()
        {
            object[] args = new object[0];
            Call(-552, CallKind.Method, "About", args);
        }

        public string Decompress(string strInputString)
        {
            object[] args = new object[] { strInputString };
            object result = Call(1610809348, CallKind.Method, "Decompress", args);
            return Result<string>(result);
        }

        public byte[] Decompress(byte[] strInputString)
        {
            object[] args = new object[] { strInputString };
            object result = Call(1610809348, CallKind.Method, "Decompress", args);
            return Result<byte[]>(result);
        }

        public string Compress(string strInputString)
        {
            object[] args = new object[] { strInputString };
            object result = Call(1610809349, CallKind.Method, "Compress", args);
            return Result<string>(result);
        }

        public byte[] Compress(byte[] strInputString)
        {
            object[] args = new object[] { strInputString };
            object result = Call(1610809349, CallKind.Method, "Compress", args);
            return Result<byte[]>(result);
        }

        public bool Enabled
        {
            get { return Result<bool>(Call(-514, CallKind.Get, "Enabled")); }
            set { Call(-514, CallKind.Let, "Enabled", value); }
        }
    }

    /// <summary>ZTLData.ZtEncryption, a component: its members called by dispatch id.</summary>
    public sealed class ZtEncryption : ZtlTyped
    {
        /// <summary>Places a new ZtEncryption in a container, under a name or its class name and a number.</summary>
        public ZtEncryption(Container container, string name = null) : base(container, "ZtEncryption", name) { }
        /// <summary>The typed view of a ZtEncryption used late-bound.</summary>
        public ZtEncryption(ZtlObject obj) : base(obj, "ZtEncryption") { }

        public void About()
        {
            object[] args = new object[0];
            Call(-552, CallKind.Method, "About", args);
        }

        public string Encode(string strBuffer, int lngKey)
        {
            object[] args = new object[] { strBuffer, lngKey };
            object result = Call(1610809348, CallKind.Method, "Encode", args);
            return Result<string>(result);
        }

        public byte[] Encode(byte[] strBuffer, int lngKey)
        {
            object[] args = new object[] { strBuffer, lngKey };
            object result = Call(1610809348, CallKind.Method, "Encode", args);
            return Result<byte[]>(result);
        }

        public string Decode(string strBuffer, int lngKey)
        {
            object[] args = new object[] { strBuffer, lngKey };
            object result = Call(1610809349, CallKind.Method, "Decode", args);
            return Result<string>(result);
        }

        public byte[] Decode(byte[] strBuffer, int lngKey)
        {
            object[] args = new object[] { strBuffer, lngKey };
            object result = Call(1610809349, CallKind.Method, "Decode", args);
            return Result<byte[]>(result);
        }

        public bool Enabled
        {
            get { return Result<bool>(Call(-514, CallKind.Get, "Enabled")); }
            set { Call(-514, CallKind.Let, "Enabled", value); }
        }
    }

    /// <summary>ZTLData.ZtCRC32, a component: its members called by dispatch id.</summary>
    public sealed class ZtCRC32 : ZtlTyped
    {
        /// <summary>Places a new ZtCRC32 in a container, under a name or its class name and a number.</summary>
        public ZtCRC32(Container container, string name = null) : base(container, "ZtCRC32", name) { }
        /// <summary>The typed view of a ZtCRC32 used late-bound.</summary>
        public ZtCRC32(ZtlObject obj) : base(obj, "ZtCRC32") { }

        public void About()
        {
            object[] args = new object[0];
            Call(-552, CallKind.Method, "About", args);
        }

        public int InitCRC32(int lngSeed, int lngPrecondition)
        {
            object[] args = new object[] { lngSeed, lngPrecondition };
            object result = Call(1610809349, CallKind.Method, "InitCRC32", args);
            return Result<int>(result);
        }

        public int AddCRC32(string strBuffer, int lngPrevCRC32)
        {
            object[] args = new object[] { strBuffer, lngPrevCRC32 };
            object result = Call(1610809350, CallKind.Method, "AddCRC32", args);
            return Result<int>(result);
        }

        public int AddCRC32(byte[] strBuffer, int lngPrevCRC32)
        {
            object[] args = new object[] { strBuffer, lngPrevCRC32 };
            object result = Call(1610809350, CallKind.Method, "AddCRC32", args);
            return Result<int>(result);
        }

        public int GetCRC32(int lngCRC32)
        {
            object[] args = new object[] { lngCRC32 };
            object result = Call(1610809351, CallKind.Method, "GetCRC32", args);
            return Result<int>(result);
        }

        public bool Enabled
        {
            get { return Result<bool>(Call(-514, CallKind.Get, "Enabled")); }
            set { Call(-514, CallKind.Let, "Enabled", value); }
        }
    }

    /// <summary>ZTLData.ZtRSA, a component: its members called by dispatch id.</summary>
    public sealed class ZtRSA : ZtlTyped
    {
        /// <summary>Places a new ZtRSA in a container, under a name or its class name and a number.</summary>
        public ZtRSA(Container container, string name = null) : base(container, "ZtRSA", name) { }
        /// <summary>The typed view of a ZtRSA used late-bound.</summary>
        public ZtRSA(ZtlObject obj) : base(obj, "ZtRSA") { }

        public void About()
        {
            object[] args = new object[0];
            Call(-552, CallKind.Method, "About", args);
        }

        public void GenerateKeys()
        {
            object[] args = new object[0];
            Call(1610809351, CallKind.Method, "GenerateKeys", args);
        }

        public object Encode(string strBuffer, int lngPrivateKey, int lngPublicKey)
        {
            object[] args = new object[] { strBuffer, lngPrivateKey, lngPublicKey };
            object result = Call(1610809352, CallKind.Method, "Encode", args);
            return Result<object>(result);
        }

        public byte[] Encode(byte[] strBuffer, int lngPrivateKey, int lngPublicKey)
        {
            object[] args = new object[] { strBuffer, lngPrivateKey, lngPublicKey };
            object result = Call(1610809352, CallKind.Method, "Encode", args);
            return Result<byte[]>(result);
        }

        public object Decode(string strBuffer, int lngPrivateKey, int lngPublicKey)
        {
            object[] args = new object[] { strBuffer, lngPrivateKey, lngPublicKey };
            object result = Call(1610809353, CallKind.Method, "Decode", args);
            return Result<object>(result);
        }

        public byte[] Decode(byte[] strBuffer, int lngPrivateKey, int lngPublicKey)
        {
            object[] args = new object[] { strBuffer, lngPrivateKey, lngPublicKey };
            object result = Call(1610809353, CallKind.Method, "Decode", args);
            return Result<byte[]>(result);
        }

        public bool Enabled
        {
            get { return Result<bool>(Call(-514, CallKind.Get, "Enabled")); }
            set { Call(-514, CallKind.Let, "Enabled", value); }
        }

        public int PublicKey
        {
            get { return Result<int>(Call(1745027074, CallKind.Get, "PublicKey")); }
            set { Call(1745027074, CallKind.Let, "PublicKey", value); }
        }

        public int PrivateKey1
        {
            get { return Result<int>(Call(1745027073, CallKind.Get, "PrivateKey1")); }
            set { Call(1745027073, CallKind.Let, "PrivateKey1", value); }
        }

        public int PrivateKey2
        {
            get { return Result<int>(Call(1745027072, CallKind.Get, "PrivateKey2")); }
            set { Call(1745027072, CallKind.Let, "PrivateKey2", value); }
        }
    }

    internal static class ObjectParameters
    {
        // "Class.Member" -> the positions of its Object and Collection parameters.
        internal static readonly System.Collections.Generic.Dictionary<string, int[]> Positions =
            new System.Collections.Generic.Dictionary<string, int[]>(System.StringComparer.OrdinalIgnoreCase)
            {
                { "ZtCollections.Search", new[] { 0 } },
                { "ZtCollections.BinarySearch", new[] { 0 } },
                { "ZtCollections.Sort", new[] { 0 } },
                { "ZtCollections.Shuffle", new[] { 0 } },
                { "ZtCollections.SearchByKey", new[] { 0 } },
                { "ZtObjects.IsSet", new[] { 0 } },
                { "ZtStrings.InStrAdv", new[] { 2 } },
            };
    }

    internal static class ByRefParameters
    {
        // "Class.Member" -> the positions of its by-reference parameters.
        internal static readonly System.Collections.Generic.Dictionary<string, int[]> Positions =
            new System.Collections.Generic.Dictionary<string, int[]>(System.StringComparer.OrdinalIgnoreCase)
            {
                { "ZtArrays.Dimensions", new[] { 0 } },
                { "ZtArrays.IsEmpty", new[] { 0 } },
                { "ZtArrays.GetMax", new[] { 0 } },
                { "ZtArrays.GetMin", new[] { 0 } },
                { "ZtArrays.GetMed", new[] { 0 } },
                { "ZtArrays.GetSum", new[] { 0 } },
                { "ZtArrays.Search", new[] { 0 } },
                { "ZtArrays.BinarySearch", new[] { 0 } },
                { "ZtArrays.Sort", new[] { 0 } },
                { "ZtArrays.Shuffle", new[] { 0 } },
                { "ZtData.Inter", new[] { 0, 1 } },
                { "ZtStrings.InStrAdv", new[] { 2 } },
            };
    }
}
