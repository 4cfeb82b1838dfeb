// The main window's tools menu with the refresh entry (F5), and the names a
// screen reader hears for its controls.
#include "form1.h"

#include "accessible_lists.h"
#include "accessible_names.h"
#include "convert_length.h"
#include "runtime_error.h"
#include "text.h"
#include "tool_windows.h"
#include "window_texts.h"

#include <QMenuBar>

namespace dorvelix {

void Form1::addRefreshItem()
{
    refreshItem_ = tools_->menu()->addAction(QString::fromUtf8(texts::RefreshItem));
    refreshItem_->setObjectName(QStringLiteral("refreshItem"));
    refreshItem_->setShortcut(QKeySequence(Qt::Key_F5));
    connect(refreshItem_, &QAction::triggered, this, &Form1::refreshItem_Click);
}

void Form1::refreshItem_Click()
{
    if (search_->isSearching())
        return;
    followMountTable();
    // The drive's figures again; a conversion length the user picked stays.
    const std::int32_t picked = form_.ConvertLength;
    ShowDriveInfo(drive1_->drive());
    if (form_.ConvertLength != picked && convertIndexOf(picked) >= 0)
        clustItem_Click(convertIndexOf(picked));

    // The open folder read again (which searches it, as a double-click
    // does); should it be gone, the nearest folder above it that opens.
    std::string folder = dir1List_.path();
    while (!folder.empty()) {
        try {
            dir1List_.setPath(folder);
            return;
        } catch (const RuntimeError& e) {
            std::string root = driveOf(folder);
            if (!root.ends_with('/'))
                root += '/';
            if (folder.size() <= root.size()) {
                dir1_->refresh();
                services_.messageBox(errorDescription(e.number(), e.cause()) + CrLf + displayText(folder));
                return;
            }
            const size_t slash = folder.find_last_of('/');
            folder = slash < root.size() ? root : folder.substr(0, slash);
        }
    }
}

void Form1::nameControls()
{
    installListAccessibility();
    for (size_t n = 0; n < texts_.size(); ++n) {
        if (texts_[n])
            texts_[n]->setAccessibleName(valueBoxName(static_cast<int>(n)));
    }
    picture2_->setAccessibleName(QString::fromUtf8(texts::LampName));
    picture2_->setAccessibleDescription(lampDescription(false));
    picture1_->setAccessibleName(QString::fromUtf8(texts::GraphName));
    picture1_->setAccessibleDescription(usageGraphDescription(form_));
    drive1_->setAccessibleName(QString::fromUtf8(texts::DriveListName));
    dir1_->setAccessibleName(QString::fromUtf8(texts::FolderListName));
    file1_->setAccessibleName(QString::fromUtf8(texts::FileListName));
}

}  // namespace dorvelix
