#pragma once

#include "platform/report/DataReport.h"

// The asset report: a four-line block per asset with all nineteen columns of qryAssets,
// under a page header that names the columns.
class rptMain : public DataReport
{
public:
    rptMain();

    // The design values: bands, captions, fields, their places and formats.
    static ReportDesign MainDesign();
};
