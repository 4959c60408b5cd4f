// The save-file dialog. The filter is given as "Description|*.ext" pairs
// ("Text file(*.txt)|*.txt"); the default extension is added to a name typed
// without one; an existing file is overwritten only after the operator
// confirms.
#pragma once

#include <string>

namespace ui {

class Dialog;

struct SaveFileOptions {
    std::string filter;
    std::string defaultExt;
    std::string initialName;
    bool overwritePrompt = true;
};

// Runs the dialog modally. Returns IDOK with the chosen path in *path, or
// IDCANCEL when the operator cancelled.
int RunSaveFileDialog(Dialog* owner, const SaveFileOptions& options, std::string* path);

}  // namespace ui
