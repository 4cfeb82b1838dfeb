// What the tool windows' tests share: the report's answer to compare with,
// the texts and accessible names a window shows, the folder list's context
// menu, a tree with known figures.
#pragma once

#include "breakdown_window.h"
#include "copy_check_dialog.h"
#include "number_format.h"
#include "mount_rig.h"
#include "report_texts.h"
#include "row_table.h"
#include "modal_box.h"
#include "path_bar.h"
#include "scan_comparison_window.h"
#include "treemap_view.h"
#include "search_log_window.h"
#include "search_progress_window.h"
#include "window_placement.h"
#include "tool_texts.h"
#include "tool_windows.h"
#include "value_boxes.h"
#include "window_rig.h"
#include <QAccessible>
#include <QClipboard>
#include <QElapsedTimer>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMessageBox>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolButton>
#include <QLineEdit>
#include <QTableWidget>
#include <sys/stat.h>
#include <unistd.h>
#include <QTest>
#include <QTimer>
#include <QTreeWidgetItemIterator>
#include <gtest/gtest.h>
#include <filesystem>
#include <map>
#include <set>

namespace dorvelix::testing {

inline QJsonObject report(std::vector<std::string> args)
{
    args.insert(args.begin(), DORVELIX_REPORT);
    const ToolRun run = runTool(args);
    return QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
}

inline QString u8(const char* text)
{
    return QString::fromUtf8(text);
}

// The captions that label a control for a screen reader (labelled-by).
inline QStringList captionsOf(QWidget* w)
{
    QStringList captions;
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    for (const auto& [label, relation] : a->relations(QAccessible::Label))
        captions << label->text(QAccessible::Name);
    return captions;
}

// Every control of a tool window that shows or takes something is heard: a
// figure as it is shown, with its caption as its label where it has one;
// every other control has a name, and a table's columns are named by their
// headers.
inline void expectAccessibleNames(QWidget* window)
{
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const bool named = !w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_");
        if (!named || !(qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)
                        || qobject_cast<QAbstractItemView*>(w) || qobject_cast<QComboBox*>(w)))
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        ASSERT_TRUE(a) << w->objectName().toStdString();
        if (auto* label = qobject_cast<QLabel*>(w)) {
            // Qt names an empty figure by its caption.
            const QStringList captions = captionsOf(w);
            const QString heard = label->text().isEmpty() && !captions.isEmpty() ? captions.front() : label->text();
            EXPECT_EQ(a->text(QAccessible::Name), heard) << w->objectName().toStdString();
        } else {
            EXPECT_FALSE(a->text(QAccessible::Name).isEmpty()) << w->objectName().toStdString();
        }
        auto* view = qobject_cast<QAbstractItemView*>(w);
        if (!view || !view->model() || !a->tableInterface())
            continue;
        for (int c = 0; c < view->model()->columnCount(); ++c)
            EXPECT_EQ(a->tableInterface()->columnDescription(c),
                      view->model()->headerData(c, Qt::Horizontal).toString());
    }
}

inline QTreeWidgetItem* folderItem(MainWindow& f, const std::string& path)
{
    for (QTreeWidgetItemIterator it(f.folderListBox()); *it; ++it) {
        if (FolderListBox::pathOf(*it) == path)
            return *it;
    }
    return nullptr;
}

// Right-clicks the folder's entry in the folder list: the context menu opens for it.
inline bool contextMenuOn(MainWindow& f, const std::string& path)
{
    QTreeWidgetItem* item = folderItem(f, path);
    if (!item)
        return false;
    emit f.folderListBox()->customContextMenuRequested(f.folderListBox()->visualItemRect(item).center());
    return f.tools()->contextFolder() == path;
}

inline QAction* contextEntry(MainWindow& f, const char* name)
{
    return f.tools()->contextMenu()->findChild<QAction*>(QString::fromUtf8(name));
}

inline long long cellValue(const BreakdownWindow& w, int row, int column)
{
    return w.model()->item(row, column)->data(Qt::UserRole + 1).toLongLong();
}

inline void breakdownTree(const TempTree& t)
{
    t.file("top/own.txt", 100);
    t.file("top/big/a.bin", 40000);
    t.file("top/big/deep/b.bin", 9000);
    t.file("top/small/c.txt", 10);
    t.folder("top/empty");
    t.file("top/medium/d.bin", 20000);
}

}  // namespace dorvelix::testing
