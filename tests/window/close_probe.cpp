// Started by the window tests in a folder tree: opens the main window there,
// searches the folder and closes the window while the summary box is up
// after the search (the search's own boxes are ticked and answered: "box")
// or while the walk is inside the first top-level subfolder
// ("search"), printing "closing" just before. The close must end the
// program with status 0; status 3 says the box blocked the window, 4 that
// the close returned, 5 that nothing happened in time, 6 that the walk ended
// first.
#include "main_window.h"
#include "modal_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QGuiApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    dorvelix::MainWindow form;
    form.load();
    form.show();
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const dorvelix::FolderSearch& search = form.search();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (box && box->isVisible() && box->checkBox()) {
                box->checkBox()->setChecked(true);
                box->button(QMessageBox::Ok)->click();
                return;
            }
        }
        const bool ready = mode == QLatin1String("box")
            ? dorvelix::openModalBoxes() > 0 && !search.isSearching()
            : search.isSearching() && search.result().subfolders.size() < 2;
        if (!ready)
            return;
        if (QGuiApplication::modalWindow())
            std::_Exit(3);
        std::puts("closing");
        std::fflush(stdout);
        form.close();
        std::_Exit(4);
    });
    poll.start();
    // The walk lets the window repaint after every folder, so that the poll
    // runs inside it however fast the folders are read.
    if (mode == QLatin1String("search"))
        form.search().paintInterval = std::chrono::milliseconds(0);
    QTimer::singleShot(0, &form, [&] {
        form.folderListBox()->open(form.folderListBox()->openFolderItem());
        if (mode == QLatin1String("search"))
            std::_Exit(6);  // the walk ended before the poll ran inside it
    });
    QTimer::singleShot(20000, &form, [] { std::_Exit(5); });
    app.exec();
    return 5;
}
