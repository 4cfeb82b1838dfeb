#include "accessible_lists.h"

#include "drive_list_box.h"
#include "folder_list_box.h"

#include <QAccessible>
#include <QPointer>
#include <algorithm>

namespace dorvelix {

namespace {

// Qt's interface of the control, with the name and, for a table such as
// the folder list, the children without the header row.
class ListAccessible : public QAccessibleInterface {
public:
    ListAccessible(QAccessibleInterface* qtOwn, QWidget* widget) : qt_(qtOwn), widget_(widget) {}

    bool isValid() const override { return widget_ && qt_->isValid(); }
    QObject* object() const override { return qt_->object(); }
    QWindow* window() const override { return qt_->window(); }
    QList<std::pair<QAccessibleInterface*, QAccessible::Relation>> relations(
        QAccessible::Relation match) const override
    {
        return qt_->relations(match);
    }
    QAccessibleInterface* focusChild() const override { return qt_->focusChild(); }
    QAccessibleInterface* childAt(int x, int y) const override { return qt_->childAt(x, y); }
    QAccessibleInterface* parent() const override { return qt_->parent(); }
    QAccessibleInterface* child(int index) const override
    {
        return index < 0 ? nullptr : qt_->child(index + headerCells());
    }
    int childCount() const override { return qt_->childCount() - headerCells(); }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const int index = qt_->indexOfChild(child);
        return index < headerCells() ? -1 : index - headerCells();
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget_ && !widget_->accessibleName().isEmpty())
            return widget_->accessibleName();
        return qt_->text(t);
    }
    void setText(QAccessible::Text t, const QString& text) override { qt_->setText(t, text); }
    QRect rect() const override { return qt_->rect(); }
    QAccessible::Role role() const override { return qt_->role(); }
    QAccessible::State state() const override { return qt_->state(); }
    QColor foregroundColor() const override { return qt_->foregroundColor(); }
    QColor backgroundColor() const override { return qt_->backgroundColor(); }
    void* interface_cast(QAccessible::InterfaceType type) override { return qt_->interface_cast(type); }

private:
    // The children that stand for a table's header: those beyond its cells.
    int headerCells() const
    {
        auto* table = static_cast<QAccessibleTableInterface*>(qt_->interface_cast(QAccessible::TableInterface));
        if (!table)
            return 0;
        return std::max(0, qt_->childCount() - table->rowCount() * table->columnCount());
    }

    // Qt's own interface stays registered with Qt, which keeps it.
    QAccessibleInterface* qt_;
    QPointer<QWidget> widget_;
};

bool buildingQtOwn = false;

QAccessibleInterface* listFactory(const QString& className, QObject* object)
{
    if (buildingQtOwn || !object)
        return nullptr;
    const bool folders = className == QLatin1String(FolderListBox::staticMetaObject.className());
    const bool drives = className == QLatin1String(DriveListBox::staticMetaObject.className());
    if (!folders && !drives)
        return nullptr;
    buildingQtOwn = true;
    QAccessibleInterface* qtOwn = QAccessible::queryAccessibleInterface(object);
    buildingQtOwn = false;
    if (!qtOwn)
        return nullptr;
    return new ListAccessible(qtOwn, static_cast<QWidget*>(object));
}

}  // namespace

void installListAccessibility()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(listFactory);
}

}  // namespace dorvelix
