// The five layout-only pages of the reader settings sheet: Pre/Postamble,
// RS232, Track Settings, Output Format and MSR Data Edit. They have no state
// and no handlers of their own; what the operator enters is never read, and
// their push buttons do nothing except Help, which reaches the application's
// help route through the sheet.
#pragma once

#include "platform/ui/property_sheet.h"

class CPPTerminator : public ui::PropertyPage {
public:
    CPPTerminator();
    ~CPPTerminator() override;
};

class CPPRS232Param : public ui::PropertyPage {
public:
    CPPRS232Param();
    ~CPPRS232Param() override;
};

class CPPTrackSet : public ui::PropertyPage {
public:
    CPPTrackSet();
    ~CPPTrackSet() override;
};

class CPPOutputFmt : public ui::PropertyPage {
public:
    CPPOutputFmt();
    ~CPPOutputFmt() override;
};

class CPPMSREdit : public ui::PropertyPage {
public:
    CPPMSREdit();
    ~CPPMSREdit() override;
};
