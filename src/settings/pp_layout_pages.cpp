// The layout-only reader settings pages: each is its template and nothing
// more.
#include "settings/pp_layout_pages.h"

#include "res/settings_templates.h"

CPPTerminator::CPPTerminator() : ui::PropertyPage(res::SettingsTemplate139()) {}
CPPTerminator::~CPPTerminator() = default;

CPPRS232Param::CPPRS232Param() : ui::PropertyPage(res::SettingsTemplate140()) {}
CPPRS232Param::~CPPRS232Param() = default;

CPPTrackSet::CPPTrackSet() : ui::PropertyPage(res::SettingsTemplate141()) {}
CPPTrackSet::~CPPTrackSet() = default;

CPPOutputFmt::CPPOutputFmt() : ui::PropertyPage(res::SettingsTemplate142()) {}
CPPOutputFmt::~CPPOutputFmt() = default;

CPPMSREdit::CPPMSREdit() : ui::PropertyPage(res::SettingsTemplate143()) {}
CPPMSREdit::~CPPMSREdit() = default;
