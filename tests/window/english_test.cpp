// The window in English: the language chosen from the user's interface
// languages; every text the main window, its menus, its boxes and each tool
// window show or speak in English, the captions within their labels at the
// three sizes; Qt's own texts following; Japanese back for what is made
// after.
#include "breakdown_window.h"
#include "controls.h"
#include "copy_check_dialog.h"
#include "file_info_dialog.h"
#include "help_texts.h"
#include "lengths_window.h"
#include "search_log_window.h"
#include "search_progress_window.h"
#include "tool_windows.h"
#include "window_rig.h"
#include "window_texts.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QDialogButtonBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableWidget>
#include <gtest/gtest.h>
#include <algorithm>


using namespace dorvelix;
using namespace dorvelix::testing;

namespace {

// A character of Japanese writing: the ideographic space and punctuation,
// kana, ideographs, and the full-width and half-width forms.
bool isJapanese(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x3000 && u <= 0x30FF) || (u >= 0x31F0 && u <= 0x31FF) || (u >= 0x3400 && u <= 0x9FFF)
        || (u >= 0xFF00 && u <= 0xFFEF);
}

bool hasJapanese(const QString& text)
{
    return std::any_of(text.begin(), text.end(), isJapanese);
}

// Every text of window and its children that a user reads or a screen
// reader speaks and that holds a Japanese character, with where it stands.
QStringList japaneseTexts(QWidget* window)
{
    QStringList found;
    const auto check = [&](const QWidget* w, const char* what, const QString& text) {
        if (hasJapanese(text))
            found << QStringLiteral("%1 %2 %3: %4")
                         .arg(QLatin1String(w->metaObject()->className()), w->objectName(), QLatin1String(what), text);
    };
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        check(w, "title", w->windowTitle());
        check(w, "tooltip", w->toolTip());
        if (QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w)) {
            check(w, "name", a->text(QAccessible::Name));
            check(w, "description", a->text(QAccessible::Description));
        }
        if (auto* label = qobject_cast<QLabel*>(w))
            check(w, "text", label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            check(w, "text", button->text());
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            check(w, "text", edit->text());
        if (auto* frame = qobject_cast<FrameControl*>(w))
            check(w, "caption", frame->caption());
        if (auto* menu = qobject_cast<QMenu*>(w))
            check(w, "menu", menu->title());
        for (const QAction* action : w->actions()) {
            check(w, "action", action->text());
            check(w, "action tooltip", action->toolTip());
        }
        if (auto* view = qobject_cast<QAbstractItemView*>(w); view && view->model()) {
            const QAbstractItemModel& m = *view->model();
            for (int c = 0; c < m.columnCount(); ++c)
                check(w, "header", m.headerData(c, Qt::Horizontal).toString());
            for (int r = 0; r < m.rowCount(); ++r) {
                for (int c = 0; c < m.columnCount(); ++c) {
                    check(w, "cell", m.index(r, c).data().toString());
                    check(w, "cell tooltip", m.index(r, c).data(Qt::ToolTipRole).toString());
                }
            }
        }
    }
    return found;
}

// The captions wider than the label they stand in, measured with the
// label's font; a frame's caption is set into its top edge.
QStringList overflowingCaptions(const QList<QLabel*>& labels, const QList<FrameControl*>& frames = {})
{
    QStringList found;
    for (const QLabel* label : labels) {
        const int needed = label->fontMetrics().horizontalAdvance(label->text());
        if (needed > label->contentsRect().width())
            found << QStringLiteral("%1 \"%2\": %3 > %4")
                         .arg(label->objectName(), label->text())
                         .arg(needed)
                         .arg(label->contentsRect().width());
    }
    for (const FrameControl* frame : frames) {
        const QFontMetrics fm(frame->font());
        const int needed = std::max(6, fm.averageCharWidth()) + fm.horizontalAdvance(frame->caption()) + 4;
        if (needed > frame->width())
            found << frame->objectName() + u' ' + frame->caption();
    }
    return found;
}

void searchedTree(const TempTree& t)
{
    t.file("top/own.txt", 100);
    t.file("top/big/a.bin", 40000);
    t.folder("top/empty");
    t.file("top/deep/1/2/3/4/5/6/7/8/9/10/11/12/13/14/15/16/c.txt", 5);
}

}  // namespace

TEST(WindowLanguage, TheFirstLanguageTheWindowHasElseEnglishAndJapaneseWithoutOne)
{
    const std::pair<QStringList, UiLanguage> cases[] = {
        {{}, UiLanguage::Japanese},
        {{"C"}, UiLanguage::Japanese},
        {{"ja-JP", "ja-Jpan-JP", "ja"}, UiLanguage::Japanese},
        {{"ja", "en"}, UiLanguage::Japanese},
        {{"en-US", "en-Latn-US", "en"}, UiLanguage::English},
        {{"en-GB", "en"}, UiLanguage::English},
        {{"en", "ja"}, UiLanguage::English},
        {{"de-DE", "de"}, UiLanguage::English},
        {{"fr", "fr-FR", "ja", "ja-JP"}, UiLanguage::Japanese},  // LANGUAGE=fr:ja
        {{"fr", "en", "ja"}, UiLanguage::English},
        {{"zh-CN", "zh"}, UiLanguage::English},
    };
    for (const auto& [languages, expected] : cases)
        EXPECT_EQ(uiLanguageFor(languages), expected) << languages.join(u',').toStdString();
}

TEST(WindowLanguage, MainWindowMenusAndBoxesSpeakEnglishAndCaptionsFitAtEverySize)
{
    QStringList titles;
    {
        EnglishTexts english;
        ASSERT_TRUE(english.found());
        WindowRig rig(searchedTree);
        rig.form->services().onMessageBox = [&](const QString& text, const QString& title) {
            rig.messages << text;
            titles << title;
        };
        MainWindow& f = *rig.form;
        f.show();
        ASSERT_TRUE(rig.doubleClickFolder(rig.top()));
        f.pickConvertLength(3);
        EXPECT_EQ(f.menuBar()->actions().first()->text(), QStringLiteral("&Quit"));
        // Words take English mnemonics ("&Large"), not the Japanese "大(&L)";
        // the conversion lengths keep their digit keys, after their bytes.
        EXPECT_EQ(f.convertLengthEntry(0)->text(), QStringLiteral("128 bytes (&0)"));
        EXPECT_EQ(f.convertLengthEntry(8)->text(), QStringLiteral("32,768 bytes (&8)"));
        const QRegularExpression japaneseMnemonic(QStringLiteral("[A-Za-z]\\(&"));
        for (const QAction* menu : f.menuBar()->actions()) {
            EXPECT_FALSE(menu->text().contains(japaneseMnemonic)) << menu->text().toStdString();
            for (const QAction* entry : menu->menu() ? menu->menu()->actions() : QList<QAction*>())
                EXPECT_FALSE(entry->text().contains(japaneseMnemonic)) << entry->text().toStdString();
        }
        EXPECT_EQ(f.caption(1)->text(), QStringLiteral("Drive:"));
        for (int size = 0; size < 3; ++size) {
            f.pickScreenSize(size);
            QList<QLabel*> captions;
            for (const PanelCaption& row : PanelCaptions)
                captions << f.caption(row.label);
            EXPECT_EQ(overflowingCaptions(captions, f.findChildren<FrameControl*>()), QStringList()) << "size " << size;
            EXPECT_EQ(japaneseTexts(&f), QStringList()) << "size " << size;
        }
        // The warning of the search (below level 15), the help texts and the
        // version box; a message keeps its path as it is.
        ASSERT_FALSE(rig.messages.isEmpty());
        EXPECT_TRUE(rig.messages.front().startsWith(QStringLiteral("Files lie below path level 15")));
        EXPECT_TRUE(rig.messages.front().contains(QString::fromStdString(rig.top() + "/deep/1/2/3/")))
            << rig.messages.front().toStdString();
        for (int i = 0; i < HelpTextCount; ++i)
            f.helpEntry(i)->trigger();
        f.version()->trigger();
        EXPECT_EQ(titles.mid(titles.size() - 5, 4),
                  QStringList({"DORVELIX Overview", "DORVELIX How to use", "About FAT", "DORVELIX Other notes"}));
        for (const QString& text : rig.messages + titles)
            EXPECT_FALSE(hasJapanese(text)) << text.toStdString();

        // Qt's own texts follow: English rather than Qt's Japanese.
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancel"));
    }
    // Japanese again for what is made after, the window's texts and Qt's.
    WindowRig rig;
    EXPECT_EQ(rig.form->caption(1)->text(), QString::fromUtf8("ドライブ ："));
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    EXPECT_TRUE(hasJapanese(buttons.button(QDialogButtonBox::Cancel)->text()));
}

TEST(WindowLanguage, EveryToolWindowSpeaksEnglish)
{
    EnglishTexts english;
    WindowRig rig(searchedTree);
    MainWindow& f = *rig.form;
    f.show();
    ASSERT_TRUE(rig.doubleClickFolder(rig.top()));
    ToolWindows& tools = *f.tools();

    tools.showBreakdown();
    ASSERT_GT(tools.breakdown()->model()->rowCount(), 1);
    tools.showCopyCheck();
    tools.copyCheck()->setTarget(rig.top());
    QSignalSpy checked(tools.copyCheck(), &CopyCheckDialog::finished);
    tools.copyCheck()->examine();
    ASSERT_TRUE(checked.wait(60000));
    tools.showLengths();
    QSignalSpy compared(tools.lengths(), &LengthsWindow::finished);
    tools.lengths()->examine();
    ASSERT_TRUE(compared.wait(60000));
    f.logEntry()->trigger();
    auto* log = f.findChild<SearchLogWindow*>();
    ASSERT_TRUE(log);
    ASSERT_GE(log->table()->rowCount(), 1);
    FileInfoDialog fileInfo(96);

    QWidget* windows[] = {tools.breakdown(), tools.copyCheck(), tools.lengths(), log, tools.progress(), &fileInfo};
    for (QWidget* w : windows) {
        EXPECT_EQ(japaneseTexts(w), QStringList()) << w->objectName().toStdString();
        EXPECT_FALSE(w->windowTitle().isEmpty()) << w->objectName().toStdString();
    }
    EXPECT_EQ(overflowingCaptions({fileInfo.pathCaption(), fileInfo.lengthCaption(), fileInfo.clustersCaption(),
                                   fileInfo.dateCaption(), fileInfo.attributesCaption()}),
              QStringList());
    EXPECT_EQ(tools.breakdown()->findChild<QPushButton*>(QStringLiteral("saveCsv"))->accessibleName(),
              QStringLiteral("Save as CSV"));
    EXPECT_EQ(tools.lengths()->windowTitle(), QStringLiteral("Cluster length comparison"));
}
