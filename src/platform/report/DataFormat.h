#pragma once

#include "platform/report/ReportDesign.h"
#include "platform/value/Variant.h"

// The text a text box shows for a value: Null and Empty show nothing; general is the value's
// own text form; a date form applies to dates (and to text that reads as a date); a money
// form applies to numbers (and to numeric text). Anything a form cannot apply to shows in
// its general form.
QString FormatValue(const Variant& value, const DataFormat& format);
