// A main window on a real temporary folder, started as the program starts
// it, with a drive of fixed figures and message boxes collected instead of
// shown.
#pragma once

#include "box_names.h"
#include "main_window.h"
#include "qt_translations.h"
#include "qt_app.h"
#include "temp_tree.h"

#include <QApplication>
#include <QStringList>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <unistd.h>

// Texts in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace dorvelix::testing {

// 1,000 clusters of 8 × 512 = 4,096 bytes, a quarter of them free, on
// every drive that mounted says is there (all of them when unset).
struct FixedVolumes : VolumeQueries {
    std::function<bool(const std::string& root)> mounted;
    bool diskFreeSpace(const std::string& root, FreeSpace& out) override
    {
        if (mounted && !mounted(root))
            return false;
        out = {8, 512, 250, 1000};
        return true;
    }
    bool diskFreeSpaceEx(const std::string&, FreeSpaceEx& out) override
    {
        out = {250 * 4096, 1000 * 4096, 250 * 4096};
        return true;
    }
    bool fileSystemName(const std::string&, QString& out) override
    {
        out = QStringLiteral("ext4");
        return true;
    }
};

// The window in English for the life of the object: made before the windows
// of a case, restoring Japanese after it so that the cases after it in the
// same program see the window as they always have.
class EnglishTexts {
public:
    EnglishTexts()
    {
        qtApp();
        found_ = installTranslations(UiLanguage::English);
        active_ = true;
    }
    ~EnglishTexts()
    {
        active_ = false;
        installTranslations(UiLanguage::Japanese);
    }
    EnglishTexts(const EnglishTexts&) = delete;
    EnglishTexts& operator=(const EnglishTexts&) = delete;
    bool found() const { return found_; }
    static bool active() { return active_; }

private:
    bool found_ = false;
    static inline bool active_ = false;
};

// The window started in folder "top" of a temporary tree that the case
// builds first (prepare), as the program is started from a shell there;
// without enterTop, in the folder that prepare left as the working folder.
// Lets window run its events until its search has ended (at most timeoutMs).
void settleSearch(MainWindow& window, int timeoutMs = 60000);

class WindowRig {
public:
    template <class Prepare>
    explicit WindowRig(Prepare&& prepare, bool load = true, bool enterTop = true)
    {
        qtApp();
        // The window's and Qt's texts as the program shows them, in the
        // language a case chose (EnglishTexts), else in Japanese.
        if (!EnglishTexts::active())
            installTranslations(UiLanguage::Japanese);
        tree.folder("top");
        char previous[4096];
        if (::getcwd(previous, sizeof previous))
            previous_ = previous;
        prepare(tree);
        if (enterTop && ::chdir(tree.path("top").c_str()) != 0)
            throw std::runtime_error("cannot enter the test folder");
        form = std::make_unique<MainWindow>(volumes);
        form->services().onMessageBox = [this](const QString& text, const QString&) { messages.push_back(text); };
        if (load)
            form->load();
    }
    WindowRig() : WindowRig([](const TempTree&) {}) {}
    ~WindowRig()
    {
        form.reset();
        if (!previous_.empty())
            (void)::chdir(previous_.c_str());
    }

    std::string top() const { return tree.path("top"); }
    QString box(Box b) const { return form->valueBox(b)->text(); }

    // Double-clicks the entry of the folder list that shows folder (full
    // path), and lets the window run until the search it starts has ended.
    bool doubleClickFolder(const std::string& folder);
    // Lets the window run until no search runs (at most timeout).
    void settle(int timeoutMs = 60000) const { settleSearch(*form, timeoutMs); }

    TempTree tree;
    FixedVolumes volumes;
    std::unique_ptr<MainWindow> form;
    QStringList messages;

private:
    std::string previous_;
};

}  // namespace dorvelix::testing
