// Form1: the program's main window. It owns every control, the form-level
// variables, the visible drive, folder and file lists and the folder search
// that runs on them, and implements the value boxes and drawings the search
// and the drive query write to.
#pragma once

#include "controls.h"
#include "drive_change.h"
#include "drive_info.h"
#include "drive_list_box.h"
#include "drives.h"
#include "file_list_box.h"
#include "folder_list_box.h"
#include "folder_search.h"
#include "form2.h"
#include "form_state.h"
#include "lists.h"
#include "qt_window_services.h"
#include "screen_layout.h"
#include "window_services.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <array>
#include <cstdint>
#include <memory>

namespace dorvelix {

class ToolWindows;

class Form1 : public QMainWindow, public FormView {
    Q_OBJECT
public:
    // The window on the process's current drive and folder. volumes answers
    // the drive queries (tests hand in figures of their own).
    explicit Form1(VolumeQueries& volumes = systemVolumes(), QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up, run once before the window is first shown.
    void Form_Load();

    // Lays the window out for size 1 (large), 2 (medium) or 3 (small).
    void SetScreenSize(std::int16_t size);
    // Puts the conversion menu's check mark on entry index alone.
    void CheckConvertLength(int index);
    void ShowDriveInfo(const QString& drive);
    void ShowSearchLamp(std::int16_t state);

    // FormView
    void setBoxText(int textNumber, const QString& text) override;
    void checkConvertLength(int index) override { CheckConvertLength(index); }
    void drawUsageGraph(int screenSize) override;
    void paintSearchLamp(int side, bool red) override;

    // The controls, by kind and number, for the handlers wired to them.
    ValueBox* Text(int n) const { return texts_.at(static_cast<size_t>(n)); }
    CaptionLabel* Label(int n) const { return labels_.at(static_cast<size_t>(n)); }
    FrameControl* Frame(int n) const { return frames_.at(static_cast<size_t>(n)); }
    LineControl* Line(int n) const { return lines_.at(static_cast<size_t>(n)); }
    PictureBox* Picture1() const { return picture1_; }
    PictureBox* Picture2() const { return picture2_; }
    DriveListBox* Drive1() const { return drive1_; }
    FolderListBox* Dir1() const { return dir1_; }
    FileListBox* File1() const { return file1_; }
    QAction* quitItem(int i) const { return quitItem_.at(static_cast<size_t>(i)); }
    QAction* clustItem(int i) const { return clustItem_.at(static_cast<size_t>(i)); }
    QAction* GdispItem(int i) const { return gdispItem_.at(static_cast<size_t>(i)); }
    QAction* comentItem(int i) const { return comentItem_.at(static_cast<size_t>(i)); }
    QAction* version() const { return version_; }
    QAction* refreshItem() const { return refreshItem_; }

    FormState& form() { return form_; }
    const LayoutValues& layout() const { return layout_; }
    FolderSearch& search() { return *search_; }
    DriveQuery& driveQuery() { return driveQuery_; }
    DriveFolders& driveFolders() { return driveFolders_; }
    DriveChange& driveChange() { return *driveChange_; }
    QtWindowServices& services() { return services_; }
    // The file information dialog, null until the first double-click in
    // File1 and again once it has been closed other than by its button.
    Form2* form2() const { return form2_; }
    // The tools menu and the windows it opens.
    ToolWindows* tools() const { return tools_; }

    // Places one of the graph's scale captions (Label24..26) and shows it.
    void placeScaleCaption(int n, int top, int left, int fontSize);

    // The window's outer size and position in twips as last set.
    QSize twipsOuterSize() const { return outerTwips_; }
    QPoint twipsPosition() const { return positionTwips_; }

public slots:
    void quitItem_Click(int index);
    void clustItem_Click(int index);
    void GdispItem_Click(int index);
    void comentItem_Click(int index);
    void version_Click();
    void Drive1_Change();
    void File1_DblClick();
    // F5: reads the drive list, the drive's figures and the open folder
    // again and searches it again, as a double-click on it does.
    void refreshItem_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    // Watches the whole application for the release of a modifier key.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createMenus();
    // F5: the tools menu's entry that reads everything again.
    void addRefreshItem();
    // Accessible names of the controls that show none of their own.
    void nameControls();
    void startOnCurrentFolder();
    void installSearch();
    void installEvents();
    // Brings Drive1 up to date with the mount table.
    void followMountTable();
    // Draws the usage graph again at the present resolution (after the
    // window moved to a screen of another DPI); a failure keeps the drawing.
    void redrawUsageGraph();

    void ArrangeDrivePanel(std::int16_t& y);
    void ArrangeFolderSection(std::int16_t& y);
    void ArrangeSubtreeSections(std::int16_t& y);
    void placeCaption(CaptionLabel* label, int left, int top);
    void placeValue(ValueBox* box, int left, int top, int width);
    void placeValue(ValueBox* box, int left, int top) { placeValue(box, left, top, layout_.ValueWidth); }

    void setOuterSize(int widthTwips, int heightTwips);
    void applyOuterSize();
    void centreOnScreen();
    void replaceAllInPixels();
    void endProgram();

    FormState form_;
    LayoutValues layout_{};
    FolderList dir1List_;
    FileList file1List_;
    DriveFolders driveFolders_;
    QtWindowServices services_;
    VolumeQueries& volumes_;
    DriveQuery driveQuery_;
    std::unique_ptr<FolderSearch> search_;
    std::unique_ptr<DriveChange> driveChange_;
    QPointer<Form2> form2_;
    ToolWindows* tools_ = nullptr;

    ClientArea* client_ = nullptr;
    std::array<ValueBox*, 38> texts_{};
    std::array<CaptionLabel*, 27> labels_{};
    std::array<FrameControl*, 18> frames_{};
    std::array<LineControl*, 6> lines_{};
    PictureBox* picture1_ = nullptr;
    PictureBox* picture2_ = nullptr;
    DriveListBox* drive1_ = nullptr;
    FolderListBox* dir1_ = nullptr;
    FileListBox* file1_ = nullptr;

    std::array<QAction*, 1> quitItem_{};
    std::array<QAction*, 9> clustItem_{};
    std::array<QAction*, 3> gdispItem_{};
    std::array<QAction*, 4> comentItem_{};
    QAction* version_ = nullptr;
    QAction* refreshItem_ = nullptr;

    QSize outerTwips_;
    QPoint positionTwips_;
    QMargins sizedWithFrame_;  // the frame margins the outer size was last applied with
};

// Sets or clears a menu entry's check mark (an entry without one shows no
// empty box).
void setMenuCheck(QAction* entry, bool checked);

}  // namespace dorvelix
