"""Uses ztldata as an application would and states the type of each result: `mypy --strict` on
this file checks the package's type stubs, which must give exactly these types, without an error."""

import decimal
from typing import assert_type

import ztldata

numeric = ztldata.CreateObject("ZTLData.ZtNumeric")
assert_type(numeric, ztldata.ZtNumeric)
assert_type(numeric.Num2Letter(1234), str)
assert_type(numeric.IsPrime(97), bool)
name: str = "ZtBases"
assert_type(ztldata.CreateObject(name), ztldata.Object)  # a name known only at run time

price = ztldata.Currency("1.25")
assert_type(price * 3 + 1 - price / 2, ztldata.Currency)  # exact with a Currency or an int
assert_type(price / 2.5, float)
assert_type(2.5 - price, float)
assert_type(decimal.Decimal("0.1") + price, decimal.Decimal)
assert_type(price - decimal.Decimal("0.1"), decimal.Decimal)
assert_type(round(price, 1), ztldata.Currency)
assert_type(round(price), int)
as_float: float = price
