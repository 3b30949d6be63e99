#pragma once

#include "app/Utils.MessageDispatcher.Win.h"
#include "core/EntryLine.h"
#include "core/KeptLines.h"
#include "core/Monitors.h"
#include "core/RefrectMode.h"
#include "dock/DockItems.h"
#include "dock/TileRow.h"
#include "storage/StringList.h"

#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

namespace Ui
{
class TForm1;
}
class QGraphicsScene;
class QKeyEvent;
class QMenu;
class QTimer;
class QWheelEvent;
class TKeyRing;

namespace pw
{
// The settings and parameter windows as the dock opens them. They read and
// write the dock's fields, so they are built on top of it; the dock reaches
// them through this interface only.
class EditorOpener
{
public:
    virtual ~EditorOpener() = default;
    // The settings window, modal.
    virtual void openSettings() = 0;
    // The parameter window on one entry line of the shown group.
    virtual void openParameters(const QString& line) = 0;
};

// The directory every file of the dock lives in, with its final separator:
// the executable's own, unless another has been set.
QString homeDirectory();
// Sets the directory every file of the dock lives in (the program does it at
// start; a test, for its own files). Empty: the executable's own again.
void setHomeDirectory(const QString& dir);
// The desktop's monitors in logical pixels, unless a test has set others.
monitors::Monitors desktopMonitors();
void setMonitorsForTesting(std::optional<monitors::Monitors> monitors);
// For a test: one monitor of this size at the desktop's origin.
void setScreenSizeForTesting(std::optional<QSizeF> size);
} // namespace pw

// The dock window: holds every setting as a field, the five groups' entry
// lines and the tiles of the group on show.
class TForm1 : public QWidget, public pw::MessageHandler
{
    Q_OBJECT
public:
    // The one window message the dock handles: the session is ending.
    PW_MESSAGE_MAP(TForm1, pw::MessageHandler,
                   PW_MESSAGE(pw::msgQueryEndSession, WMQueryEndSession))

    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // ---- settings ------------------------------------------------------------
    std::int32_t bw = 0;
    bool isVertical = false;
    TRefrectMode RefrectMode = TRefrectMode::mleft;
    std::int32_t MenuIndex = 0;
    bool isShowTaskBar = false;
    bool isRefr = false;
    bool isDisInterpolation = false;
    std::int32_t PopLength = 0;
    float RefOpa = 0;
    float RefLength = 0;
    std::int32_t RefOff = 0;
    float Gp = 0;
    bool isShowHint = false;
    bool isTop = false;
    std::int32_t Color0 = 0;
    std::int32_t Color1 = 0;
    bool isGradient = false;
    std::int32_t Direction = 0;
    std::int32_t BackSize = 0;
    bool isGazou = false;
    QString GazouFile;
    std::int32_t xyoffset = 0;

    // ---- run-time state --------------------------------------------------------
    QString HomePath;
    float scx = 0;
    float scy = 0;
    std::array<std::unique_ptr<TStringList>, 5> LaunchPath;
    // One slot per shown entry; a tile object only for those on screen.
    TTileRow LaunchBtn;
    float Gx = 0;
    float Gy = 0;
    QPointer<TImage> mouseobj;
    std::int32_t selectIndex = 0;
    std::int32_t MoveFrom = 0;
    std::int32_t MoveTo = 0;

    // ---- controls --------------------------------------------------------------
    TRectangle* Rectangle1 = nullptr;
    TDropTarget* DropTarget1 = nullptr;
    Ui::TForm1& form() { return *ui; }
    QGraphicsScene* scene() const { return scene_; }

    // The window's integer geometry. Setting one keeps the others; a layout
    // pass changes them freely and the window follows once, at its end.
    int Left() const { return frame_.left(); }
    int Top() const { return frame_.top(); }
    int Width() const { return frame_.width(); }
    int Height() const { return frame_.height(); }
    void SetLeft(int v);
    void SetTop(int v);
    void SetWidth(int v);
    void SetHeight(int v);

    // The monitor the dock lives on, in desktop coordinates; scx and scy are
    // its size.
    QRect screenRect() const { return screen_; }
    // The position the settings file keeps: the window's own, unless the dock
    // stands in on another monitor for one that went away.
    QPoint storedPosition() const { return standingIn_.value_or(frame_.topLeft()); }
    // The monitors changed: a monitor came, went or changed its size.
    void screensChanged();

    bool Transparency() const { return transparency_; }
    void SetTransparency(bool on);
    bool StayOnTop() const;
    // Puts the window above others, or back among them. Qt makes the native
    // window anew for this, so the taskbar state of the start is applied again.
    void SetStayOnTop(bool on);
    // The first show lays the dock out before Qt makes its native window.
    void setVisible(bool visible) override;

    // ---- operations ------------------------------------------------------------
    void FormCreate();
    void GetScale();
    void ReadIniFile();
    void WriteIniFile();
    void FormShow();
    void SetMenu(int index);
    void BeginLayout();
    void SetFormBtn(TTileRow::Slot& slot);
    void EndLayout();
    void ReSetBtn();
    void AddBtn(const TRec& entry);
    void SetIcon(const QString& fileName, TImage* tile);
    void SetShellIcon(const QString& fileName, TImage* tile);
    void SetBackColor();
    void WMQueryEndSession(TMessage& Msg);

    // Takes every tile off the window and empties LaunchBtn.
    void clearTiles();
    QString groupFileName(int index) const;
    // The menu item of group i (0 to 4), whose caption is the group's name.
    QAction* groupItem(int i) const;
    // Writes the shown group: its shown lines with the lines it keeps
    // without showing them, each in its place.
    void saveGroup();
    bool isAddMode() const;
    // Moves line `from` of the shown group to index `to` (as QList::move
    // does), or removes line `index`; the lines kept beside it follow. The
    // tiles are left as they are.
    void moveEntry(int from, int to);
    void removeEntry(int index);

    // ---- handlers ----------------------------------------------------------------
    void BtnMouseEnter(TImage* sender);
    void BtnMouseLeave(TImage* sender);
    void BtnMouseDown(TImage* sender, Qt::MouseButton button, QPointF local);
    void BtnMouseUp(TImage* sender, Qt::MouseButton button, QPointF local);
    void BtnClickEvent(TImage* sender);
    void JumpFinish();
    // A tile's swing ended: the square it swept is drawn afresh.
    void swingFinished(TImage* tile);
    void Rectangle1MouseDown(Qt::MouseButton button);
    void SaveCmdClick();
    void CloseCmd2Click();
    void AddMenuClick();
    void DropTarget1DragDrop(const QStringList& paths);
    void DelBtnClick();
    void EditCmdClick();
    void Seting2Click();
    void MenuClick(int group);

    // ---- keyboard focus ------------------------------------------------------------
    // The tile the keyboard is on (an index into LaunchBtn), or -1 when the
    // keyboard is not in use on the row.
    int keyFocus() const { return keyFocus_; }
    // Puts the keyboard on tile `index` (-1: off the row), bringing a tile of
    // a long row into view; keyFocusChanged follows a change.
    void setKeyFocus(int index);
    // Opens tile `index`'s menu at the tile, as a right click on it does.
    void showTileMenu(int index);

    // Where the settings and parameter windows come from when the dock opens
    // one; without it, the commands that open them do nothing.
    void setEditorWindows(pw::EditorOpener* editors) { editors_ = editors; }

signals:
    void keyFocusChanged(int index);

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    bool event(QEvent* e) override;

private:
    pw::EditorOpener* editors_ = nullptr;

    void wireActions();
    void syncGeometry();
    void alignPanel();
    // A layout pass changes the window's size many times; the real window
    // follows once, when the outermost pass ends.
    struct PassGuard {
        explicit PassGuard(TForm1& f) : form(f) { ++form.passDepth_; }
        ~PassGuard()
        {
            if (--form.passDepth_ == 0)
                form.syncGeometry();
        }
        PassGuard(const PassGuard&) = delete;
        PassGuard& operator=(const PassGuard&) = delete;
        TForm1& form;
    };
    pw::layout::Params layoutParams() const;
    // The layout cursor at the start of a pass.
    void startCursor();
    // The place of the next tile of a pass, at the layout cursor, which it
    // moves on.
    std::optional<QPointF> placeNext();
    void addTile(const QString& line);
    // Makes the tile of entry i of LaunchBtn: off screen and without picture
    // until realizeTile.
    TImage* makeTile(qsizetype i, const TTileRow::Slot& slot);
    void showIcon(const QImage& icon, TImage* tile);
    void lengthen();
    // The window as it is shown: the frame, capped along the dock at the
    // screen's length (the row then scrolls inside it).
    QRect shownFrame() const;
    // Shows the part of the row from the scroll offset on, and realizes the
    // tiles in it.
    void applyScroll();
    // Realizes the tiles on screen and gives back those a scroll took off it.
    void realizeShownTiles();
    // Takes a tile off the window, to be deleted once the running handler is
    // done with it.
    void disposeTile(TImage* tile);
    // The pixels across a tile's picture: the tile's size on the window's
    // monitor, in device pixels.
    int iconPixels() const;
    // Makes the shown tiles' pictures again when the window's pixel density
    // changed (the window went to another monitor).
    void remakePictures();
    // Gives a tile its picture and shows it, the first time it is on screen.
    void realizeTile(TImage* tile);
    bool wheelScroll(QWheelEvent* e);
    // Scrolls a row longer than the screen to `offset` (kept within the
    // row); the tile that comes under a resting pointer at `pointer` (in the
    // view's viewport), if given, is entered. False when the row stays where
    // it was.
    bool scrollRowTo(int offset, std::optional<QPointF> pointer,
                     Qt::KeyboardModifiers modifiers = {});
    void panelMoved();
    void panelReleased(Qt::MouseButton button);
    // Makes `screen` the dock's monitor, and the native window's screen.
    void useScreen(QRect screen);
    // Keeps the window on its monitor at its own edge, as a layout pass ends.
    void placeOnScreen();

    std::unique_ptr<Ui::TForm1> ui;
    QGraphicsScene* scene_ = nullptr;
    TileHandlers tileHandlers_;
    // What the tiles of the group on show have learnt about their files, so
    // that each distinct file's icon is made once and each distinct picture
    // turned once, however many entries name it and whenever their tiles are
    // first shown. Emptied when a group is loaded; kept to a bounded size.
    struct LoadCache {
        static constexpr qsizetype kMaxFiles = 4096;
        QHash<QString, QImage> icons; // file -> its icon, as the cache gave it
        QHash<qint64, QImage> turned; // a picture's cache key -> the picture turned for the edge
    };
    LoadCache loadCache_;
    // The pixel size loadCache_'s pictures were made at.
    int picturePixels_ = 0;
    // Per group, the lines of its file that make no tile (see SetMenu), to be
    // written back in their places beside LaunchPath's lines.
    std::array<pw::KeptLines, 5> keptLines_;
    // The full frame of the dock, as the layout passes size it; the window
    // shows shownFrame() of it, scrolled by scroll_ pixels along the dock.
    QRect frame_;
    // The dock's monitor (see screenRect).
    QRect screen_;
    // While the dock's monitor is away: the position it had there, which the
    // settings file keeps and the dock goes back to when the monitor returns.
    std::optional<QPoint> standingIn_;
    int scroll_ = 0;
    int passDepth_ = 0;
    int placedInPass_ = 0;
    bool transparency_ = true;
    // Whether the start hid the taskbar button; a change takes effect at the
    // next start.
    bool taskbarHidden_ = false;
    bool shown_ = false;
    // Window drag by the panel.
    bool dragging_ = false;
    QPoint dragStart_;
    // The pointer's place in the window at the press.
    QPoint dragGrab_;
    QRect dragScreen_;
    bool dragMoved_ = false;

    // ---- the row by keyboard (Unit1.Keys.cpp) ----------------------------------------
    // Handles a key meant for the row; false for any other key.
    bool rowKey(QKeyEvent* e);
    // After a layout pass or a group load: the keyboard stays on its tile,
    // or in range, or on the first tile of another group.
    void keepKeyFocusOnRow();
    // A spontaneous press, move or wheel of the mouse on the dock hides the
    // ring; the keyboard keeps its tile.
    void mouseOnDock(const QEvent* e);
    // The dock lost the keyboard to another window: the ring goes.
    void hideKeyRing();
    // The dock got the keyboard: it starts on the first tile, ring unshown.
    void keyboardCame();
    // Puts the focus on `index` (in range or -1) without showing the ring.
    void putKeyFocus(int index);
    void updateKeyRing();
    // Scrolls a long row so that tile `index` is in the window.
    void bringIntoView(int index);
    int keyFocus_ = -1;
    QPointer<TImage> keyTile_;
    int keyGroup_ = 0;
    // Whether the keyboard is in use on the row: the ring shows then only.
    bool keysInUse_ = false;
    // Made the first time the keyboard is used; hidden otherwise.
    TKeyRing* keyRing_ = nullptr;

    // ---- frame pacing (Unit1.cpp) ----------------------------------------------------
    // Whether a repaint asked for now may run now; otherwise it runs at the
    // next frame's time, once, with every change asked for until then.
    bool paceFrame();
    // The time of a frame: that of the swings' animation clock.
    static constexpr int kFrameMs = 16;
    QElapsedTimer lastFrame_;
    QTimer* frameTimer_ = nullptr;
};

extern TForm1* Form1;
