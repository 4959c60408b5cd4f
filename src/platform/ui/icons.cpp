// The table of icon resources by ID.
#include "platform/ui/icons.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>

#include <map>

namespace ui {
namespace {

std::map<int, QIcon>& Table() {
    static std::map<int, QIcon> table;
    return table;
}

}  // namespace

void RegisterIcon(int id, const QIcon& icon) { Table()[id] = icon; }

QIcon LoadIcon(int id) {
    const auto it = Table().find(id);
    if (it != Table().end()) {
        return it->second;
    }
    if (QApplication::instance() != nullptr) {
        return QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation);
    }
    return QIcon();
}

bool HasIcon(int id) { return Table().count(id) != 0; }

}  // namespace ui
