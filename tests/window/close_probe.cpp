// Started by the window tests in a folder tree: opens the main window there,
// searches the folder and closes the window while the summary box is up
// after the search (the search's own boxes are ticked and answered: "box")
// or while the walk is inside the first top-level subfolder
// ("search"), printing "closing" just before. In mode "stopped" it prints
// "walking" once the walk is inside the folder and closes when a line comes
// on its standard input (the test stops the drive's driver between the two).
// The close must end the program with status 0; status 3 says the box
// blocked the window, 5 that nothing happened in time, 6 that the walk ended
// first.
#include "main_window.h"
#include "modal_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

// Hears the search's news on the window's thread.
struct Heard : dorvelix::SessionObserver {
    int advanced = 0;
    bool finished = false;
    void searchAdvanced(const dorvelix::SearchProgress&) override { ++advanced; }
    void searchFinished() override { finished = true; }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    dorvelix::MainWindow form;
    form.load();
    form.show();
    QTimer poll;
    Heard heard;
    bool closed = false;
    bool walking = false;
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        input.setEnabled(false);
        poll.stop();
        std::puts("closing");
        std::fflush(stdout);
        closed = true;
        form.close();
    });
    form.session().addObserver(&heard);
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const dorvelix::Session& session = form.session();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (box && box->isVisible() && box->checkBox()) {
                box->checkBox()->setChecked(true);
                box->button(QMessageBox::Ok)->click();
                return;
            }
        }
        if (mode == QLatin1String("stopped")) {
            if (heard.advanced > 0 && session.isSearching() && !walking) {
                walking = true;
                std::puts("walking");
                std::fflush(stdout);
            }
            return;
        }
        if (mode == QLatin1String("search") && heard.finished)
            std::_Exit(6);  // the walk ended before the poll ran inside it
        const bool ready = mode == QLatin1String("box") ? dorvelix::openModalBoxes() > 0 && !session.isSearching()
                                                        : session.isSearching() && heard.advanced > 0;
        if (!ready)
            return;
        if (QGuiApplication::modalWindow())
            std::_Exit(3);
        std::puts("closing");
        std::fflush(stdout);
        poll.stop();
        closed = true;
        form.close();
    });
    poll.start();
    // The walk lets the window repaint after every folder, so that the poll
    // runs inside it however fast the folders are read.
    if (mode != QLatin1String("box"))
        form.search().paintInterval = std::chrono::milliseconds(0);
    QTimer::singleShot(0, &form, [&] { form.folderListBox()->open(form.folderListBox()->openFolderItem()); });
    QTimer::singleShot(20000, &form, [] { std::_Exit(5); });
    // The close ends the event loop (and the window's search with it); the
    // program then ends as it always does.
    app.exec();
    return closed ? 0 : 5;
}
