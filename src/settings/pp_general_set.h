// CPPGeneralSet: the "General Settings" page of the reader settings sheet.
// Shows the five reader setting codes as radio buttons and edits a private
// copy of them (radio clicks and "Default  "); nothing is copied back or sent
// to the reader.
#pragma once

#include "platform/ui/property_sheet.h"
#include "settings/reader_settings.h"

class CMsrTestDlg;

class CPPGeneralSet : public ui::PropertyPage {
public:
    CPPGeneralSet(CMsrTestDlg* owner, const ReaderSettings& settings);
    ~CPPGeneralSet() override;

    bool OnInitDialog() override;

    // The page's own copy of the codes.
    const ReaderSettings& Settings() const { return m_settings; }

private:
    void OnDefault();

    [[maybe_unused]] CMsrTestDlg* m_pMain = nullptr;  // stored, not owned, not used
    ReaderSettings m_settings;
};
