// The main console window's dialog template (102) and the IDs of its
// controls. The console code addresses every control through these names.
#pragma once

#include "platform/ui/dialog_template.h"

namespace res {

inline constexpr int IDD_MSRTEST_DIALOG = 102;

// Controls of template 102.
inline constexpr int IDC_CLEAR_REPORT = 1048;
inline constexpr int IDC_EXIT = 2;
inline constexpr int IDC_OPEN = 1000;
inline constexpr int IDC_CLAIM = 1001;
inline constexpr int IDC_CHECK_HEALTH = 1002;
inline constexpr int IDC_CLEAR_INPUT = 1003;
inline constexpr int IDC_DIRECT_IO = 1004;
inline constexpr int IDC_RELEASE = 1005;
inline constexpr int IDC_CLOSE = 1006;
inline constexpr int IDC_PROPERTY_TAB = 1007;
inline constexpr int IDC_REPORT = 1009;
inline constexpr int IDC_DEFAULT_TEST = 1039;
inline constexpr int IDC_TEMP = 1044;
inline constexpr int IDC_SAVE_REPORT = 1049;
inline constexpr int IDC_MSR = 1040;
inline constexpr int IDC_CREATE_THREAD = 1183;
inline constexpr int IDC_DEVICE_NAME = 1197;

// The class of the hosted MSR control.
inline constexpr const char* kMsrClsid = "{CCB90122-B81E-11D2-AB74-0040054C3719}";

// The size of the tab pages (the largest page template) in dialog units; the
// tab control of template 102 is laid out to hold a page of this size.
inline constexpr int kPageCx = 240;
inline constexpr int kPageCy = 164;

const ui::DialogTemplate& MainDialogTemplate();

}  // namespace res
