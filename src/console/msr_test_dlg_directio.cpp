// CMsrTestDlg::OnDirectIO: opens the reader settings sheet. The sheet and its
// six pages live on this handler's stack; being declared in construction
// order, the pages are destroyed in reverse order and the sheet last. The
// sheet's result is not used and no report line is written.
#include "console/msr_test_dlg.h"

#include "settings/dio_property_sheet.h"
#include "settings/pp_general_set.h"
#include "settings/pp_layout_pages.h"

void CMsrTestDlg::OnDirectIO()
{
    // No parent: the dialog layer makes the active window (this one) the
    // owner of the modal sheet.
    CDIOPropertySheet sheet("Send specfic commands to MiniMSR", nullptr, 0);
    CPPGeneralSet general(this, m_settings);
    CPPTerminator terminator;
    CPPRS232Param rs232;
    CPPTrackSet trackSet;
    CPPOutputFmt outputFmt;
    CPPMSREdit msrEdit;

    sheet.AddPage(&general);
    sheet.AddPage(&terminator);
    sheet.AddPage(&rs232);
    sheet.AddPage(&trackSet);
    sheet.AddPage(&outputFmt);
    sheet.AddPage(&msrEdit);

    (void)sheet.DoModal();
}
