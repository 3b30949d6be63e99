// The dock window: its making, its show and close, and the commands of its
// tiles and menus. Layout, tiles, the panel and the settings file have files
// of their own (Unit1.*.cpp).
#include "dock/Unit1.h"

#include "core/LaunchRule.h"
#include "core/Layout.h"
#include "core/Rounding.h"
#include "core/SettingBounds.h"
#include "dock/DockAccessibility.h"
#include "platform/GuiPlatform.h"
#include "platform/KeyState.h"
#include "platform/ShellLauncher.h"
#include "platform/TaskbarButton.h"
#include "ui_Unit1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QMenu>
#include <QPropertyAnimation>
#include <QScreen>
#include <QTimer>
#include <functional>
#include <limits>
#include <thread>

TForm1* Form1 = nullptr;
namespace pw
{

namespace
{
QString& homeOverride()
{
    static QString dir;
    return dir;
}
std::optional<monitors::Monitors>& monitorsOverride()
{
    static std::optional<monitors::Monitors> list;
    return list;
}
} // namespace

QString homeDirectory()
{
    if (!homeOverride().isEmpty())
        return homeOverride();
    return QDir(QCoreApplication::applicationDirPath()).absolutePath() + QLatin1Char('/');
}

void setHomeDirectory(const QString& dir)
{
    homeOverride() = dir.isEmpty() || dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

monitors::Monitors desktopMonitors()
{
    if (monitorsOverride())
        return *monitorsOverride();
    monitors::Monitors list;
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (const QScreen* screen : screens) {
        if (screen == QGuiApplication::primaryScreen())
            list.primary = int(list.rects.size());
        list.rects.append(screen->geometry());
    }
    if (list.isEmpty())
        list.rects.append(QRect(0, 0, 1024, 768));
    return list;
}

void setMonitorsForTesting(std::optional<monitors::Monitors> monitors)
{
    monitorsOverride() = std::move(monitors);
}

void setScreenSizeForTesting(std::optional<QSizeF> size)
{
    if (!size) {
        monitorsOverride().reset();
        return;
    }
    monitorsOverride() = monitors::Monitors{{QRect(QPoint(0, 0), size->toSize())}, 0};
}

} // namespace pw

TForm1::TForm1(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TForm1>())
{
    // Screen readers learn of the row and its tiles from the dock's own
    // descriptions. Qt asks the newest factory first, and installs its own
    // with the application object, which exists by now.
    pw::access::install();
    // The form's menus hang from a hidden plain widget, "menus", not from a
    // menu bar: a menu bar builds an overflow button whose icon loads every
    // image format plugin, for a bar that is never shown.
    ui->setupUi(this);
    setWindowFlag(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_DeleteOnClose, false);

    scene_ = new QGraphicsScene(this);
    scene_->setItemIndexMethod(QGraphicsScene::NoIndex);
    ui->view->setScene(scene_);
    ui->view->setStyleSheet(QString());
    ui->view->setBackgroundBrush(Qt::NoBrush);
    ui->view->viewport()->setAutoFillBackground(false);
    ui->view->setAttribute(Qt::WA_TranslucentBackground);
    ui->view->viewport()->setAttribute(Qt::WA_TranslucentBackground);
    ui->view->setAcceptDrops(true);
    ui->view->setFocusPolicy(Qt::NoFocus);
    // A row longer than the screen scrolls with the mouse wheel.
    ui->view->viewport()->installEventFilter(this);

    Rectangle1 = new TRectangle;
    scene_->addItem(Rectangle1);
    DropTarget1 = new TDropTarget(Rectangle1);
    DropTarget1->setVisible(false);

    wireActions();
    pw::access::attach(*this);
    frame_ = QRect(0, 0, 337, 193);
    FormCreate();
}

TForm1::~TForm1()
{
    // The tiles go with the scene, after the handlers they report to.
    for (TImage* tile : LaunchBtn.clear())
        tile->setHandlers(nullptr);
    // The five lists; the tiles go with the scene.
    for (auto& list : LaunchPath)
        list.reset();
}

void TForm1::wireActions()
{
    connect(ui->DelBtn, &QAction::triggered, this, &TForm1::DelBtnClick);
    connect(ui->EditCmd, &QAction::triggered, this, &TForm1::EditCmdClick);
    connect(ui->Seting2, &QAction::triggered, this, &TForm1::Seting2Click);
    connect(ui->SaveCmd, &QAction::triggered, this, &TForm1::SaveCmdClick);
    connect(ui->CloseCmd2, &QAction::triggered, this, &TForm1::CloseCmd2Click);
    for (int i = 0; i < 5; ++i)
        connect(groupItem(i), &QAction::triggered, this, [this, i] { MenuClick(i); });

    // Shortcuts work while the dock has the focus; while one of its menus is
    // open, the menu runs them itself (pw::menus::DockMenu).
    addActions(ui->PopupMenu1->actions());
    addActions(ui->PopupMenu2->actions());
    addActions(ui->MenuItem6->actions());
    // The add-mode mark changes by code only: Qt has already flipped the
    // clicked item's mark when triggered arrives, so that flip is taken back
    // and the handler sets both marks itself.
    for (QAction* a : {ui->AddMenu, ui->AddMenu2}) {
        connect(a, &QAction::triggered, this, [this, a] {
            a->setChecked(!a->isChecked());
            AddMenuClick();
        });
    }

    connect(Rectangle1, &TRectangle::pressed, this, &TForm1::Rectangle1MouseDown);
    connect(Rectangle1, &TRectangle::moved, this, &TForm1::panelMoved);
    connect(Rectangle1, &TRectangle::released, this, &TForm1::panelReleased);
    connect(DropTarget1, &TDropTarget::filesDropped, this, &TForm1::DropTarget1DragDrop);
    connect(DropTarget1, &TDropTarget::contextMenuAt, this,
            [this](QPoint p) { ui->PopupMenu2->popup(p); });

    // Every tile reports to these.
    tileHandlers_.entered = std::bind_front(&TForm1::BtnMouseEnter, this);
    tileHandlers_.left = std::bind_front(&TForm1::BtnMouseLeave, this);
    tileHandlers_.pressed = std::bind_front(&TForm1::BtnMouseDown, this);
    tileHandlers_.released = std::bind_front(&TForm1::BtnMouseUp, this);
    tileHandlers_.clicked = std::bind_front(&TForm1::BtnClickEvent, this);
    tileHandlers_.jumpFinished = [this](TImage*) { JumpFinish(); };
    tileHandlers_.swingFinished = std::bind_front(&TForm1::swingFinished, this);
    LaunchBtn.setMaker(std::bind_front(&TForm1::makeTile, this));
}

void TForm1::FormCreate()
{
    for (auto& list : LaunchPath)
        list = std::make_unique<TStringList>();
    HomePath = pw::homeDirectory();
    // The window is made on the primary monitor; the settings' position may
    // then carry it to another, which the first layout pass takes up.
    frame_.moveTopLeft(pw::desktopMonitors().primaryRect().topLeft());
    GetScale();
    ReadIniFile();
    taskbarHidden_ = !isShowTaskBar;
    SetHeight(2 * bw);
    SetWidth(2 * bw);
    SetBackColor();
    syncGeometry();
    TMessageDispatcherWin::RegisterHandler(this);
    // Monitors that come, go or change size move the dock with them. The
    // signals arrive only when the desktop changes, so this costs nothing
    // while idle.
    const auto watch = [this](QScreen* screen) {
        connect(screen, &QScreen::geometryChanged, this, &TForm1::screensChanged);
    };
    for (QScreen* screen : QGuiApplication::screens())
        watch(screen);
    connect(qApp, &QGuiApplication::screenAdded, this, [this, watch](QScreen* screen) {
        watch(screen);
        screensChanged();
    });
    // A screen is removed after its signal: the change is looked at once the
    // list no longer holds it.
    connect(qApp, &QGuiApplication::screenRemoved, this, &TForm1::screensChanged,
            Qt::QueuedConnection);
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, &TForm1::screensChanged,
            Qt::QueuedConnection);
}

void TForm1::GetScale()
{
    useScreen(pw::monitors::monitorFor(pw::desktopMonitors(), frame_, screen_.size()));
}

void TForm1::useScreen(QRect screen)
{
    screen_ = screen;
    scx = float(screen.width());
    scy = float(screen.height());
    // The native window is told its screen before it is given a geometry
    // there, so that it is made at that screen's pixel ratio.
    for (QScreen* s : QGuiApplication::screens()) {
        if (s->geometry() == screen && this->screen() != s) {
            setScreen(s);
            break;
        }
    }
}

void TForm1::placeOnScreen()
{
    GetScale();
    frame_.moveTopLeft(pw::layout::keepOnScreen(RefrectMode, frame_, Rectangle1->size(), screen_));
    // A dock placed (nearly) off the screen comes back far enough to be seen
    // and dragged.
    frame_.moveTopLeft(pw::bounds::keepReachable(frame_, screen_));
    syncGeometry();
}

void TForm1::screensChanged()
{
    using namespace pw::monitors;
    const Monitors now = pw::desktopMonitors();
    if (standingIn_) {
        const QRect home(*standingIn_, frame_.size());
        if (monitorAt(now, anchorOf(home, screen_.size())) < 0)
            return placeOnScreen();
        // The monitor is back: so is the dock.
        frame_.moveTopLeft(*standingIn_);
        standingIn_.reset();
    } else if (monitorAt(now, anchorOf(frame_, screen_.size())) < 0) {
        // The dock's monitor went away: it stands in on the primary one, at
        // the same edge, and keeps its own position for the settings file.
        standingIn_ = frame_.topLeft();
        frame_.moveTopLeft(standIn(RefrectMode, frame_, screen_, now.primaryRect()));
    }
    placeOnScreen();
}

QAction* TForm1::groupItem(int i) const
{
    QAction* items[] = {ui->Menu0, ui->Menu1, ui->Menu2, ui->Menu3, ui->Menu4};
    return items[i];
}

bool TForm1::StayOnTop() const
{
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void TForm1::SetStayOnTop(bool on)
{
    if (StayOnTop() == on)
        return;
    if (pw::platform::usesLayerShell()) {
        // A layer surface changes its layer in place. Qt would hide the
        // window and make its Wayland surface anew, which drops the layer
        // surface's role; the flag only tells the layer.
        overrideWindowFlags(windowFlags().setFlag(Qt::WindowStaysOnTopHint, on));
        syncGeometry();
        return;
    }
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (taskbarHidden_)
        pw::platform::hideTaskbarButton(*this);
    if (!visible)
        return;
    // The new native window is made at the window's geometry as it stands.
    show();
}

// ---- start-up, show, close ----------------------------------------------------------

void TForm1::setVisible(bool visible)
{
    // The first layout pass runs before Qt makes the native window, so that
    // the window is made where the dock stands and at its size, and nothing
    // moves it before it is mapped: window managers differ on a window moved
    // or resized in between (weston's puts it at the desktop's corner), and
    // some report it at (0, 0) meanwhile, which on monitors of different
    // pixel ratios made Qt size it at the other monitor's ratio.
    if (visible && !shown_) {
        shown_ = true;
        FormShow();
        if (taskbarHidden_)
            pw::platform::hideTaskbarButton(*this);
    }
    QWidget::setVisible(visible);
}

void TForm1::keyPressEvent(QKeyEvent* e)
{
    // The keys of the row: along it, Home and End, launch, menu, reorder.
    if (rowKey(e)) {
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);
}

bool TForm1::event(QEvent* e)
{
    // The window went to a monitor of another pixel density.
    if (e->type() == QEvent::ScreenChangeInternal && shown_)
        remakePictures();
    if (e->type() == QEvent::WindowDeactivate)
        hideKeyRing();
    if (e->type() == QEvent::WindowActivate)
        keyboardCame();
    if (e->type() == QEvent::UpdateRequest && !paceFrame())
        return true;
    return QWidget::event(e);
}

// A pointer sweeping along the row asks for repaints twice over: at each tick
// of the swings' animation clock, and at each tile the pointer enters or
// leaves (its reflection brightens or dims). Drawn as they come, that is
// about 100 repaints a second, each with its clear, drawing and flush to the
// display; at most one per frame of the animation clock shows the same
// pictures. A repaint asked for within a frame's time of the last one is held
// to the frame's end and takes with it every change asked for until then. At
// rest nothing is asked for, and the timer never runs.
bool TForm1::paceFrame()
{
    if (frameTimer_ && frameTimer_->isActive())
        return false;
    const qint64 since = lastFrame_.isValid() ? lastFrame_.elapsed() : kFrameMs;
    if (since >= kFrameMs) {
        lastFrame_.start();
        return true;
    }
    if (!frameTimer_) {
        frameTimer_ = new QTimer(this);
        frameTimer_->setSingleShot(true);
        frameTimer_->setTimerType(Qt::PreciseTimer);
        connect(frameTimer_, &QTimer::timeout, this, [this] {
            lastFrame_.start();
            QEvent update(QEvent::UpdateRequest);
            QWidget::event(&update);
        });
    }
    frameTimer_->start(int(kFrameMs - since));
    return false;
}

bool TForm1::eventFilter(QObject* watched, QEvent* e)
{
    if (ui && watched == ui->view->viewport())
        mouseOnDock(e);
    if (e->type() == QEvent::Wheel && ui && watched == ui->view->viewport())
        return wheelScroll(static_cast<QWheelEvent*>(e));
    return QWidget::eventFilter(watched, e);
}

void TForm1::FormShow()
{
    SetMenu(MenuIndex);
}

void TForm1::closeEvent(QCloseEvent* e)
{
    // The close goes ahead only once the settings are safely written; a
    // failed save keeps the dock open and is reported.
    e->ignore();
    WriteIniFile();
    e->accept();
}

void TForm1::SaveCmdClick()
{
    WriteIniFile();
}

void TForm1::CloseCmd2Click()
{
    close();
}

void TForm1::WMQueryEndSession(TMessage&)
{
    // The query reaches every top-level window of the program (menus and
    // dialogs too); the settings are written once, for the dock's own.
    if (TMessageDispatcherWin::GetWnd() != static_cast<std::uintptr_t>(internalWinId()))
        return;
    WriteIniFile();
}

void TForm1::BtnClickEvent(TImage* sender)
{
    const int i = int(LaunchBtn.indexOf(sender));
    if (i < 0 || i >= LaunchPath[std::size_t(MenuIndex)]->size())
        return;
    const std::optional<pw::LaunchTarget> target =
        pw::launchFor(LaunchPath[std::size_t(MenuIndex)]->at(i));
    // Shift with the mouse reorders tiles: no jump, no launch.
    if (pw::platform::isShiftDown())
        return;
    if (auto* jump = qobject_cast<QPropertyAnimation*>(sender->child(2))) {
        jump->stop();
        jump->start();
    }
    if (!target)
        return;
    // The desktop may take its time to start a program: the launch runs on a
    // thread of its own, and the repaint comes back through the GUI thread.
    QPointer<TRectangle> panel = Rectangle1;
    // The shell's own messages (a missing program, no application for a
    // type) belong to the dock; its handle is read here, on the GUI thread.
    const auto owner = static_cast<std::uintptr_t>(internalWinId());
    std::thread([t = *target, panel, owner] {
        pw::platform::shellLaunch(t.file, t.params, t.dir, owner);
        QMetaObject::invokeMethod(qApp, [panel] {
            if (panel)
                panel->update();
        });
    }).detach();
}

void TForm1::BtnMouseDown(TImage* sender, Qt::MouseButton button, QPointF local)
{
    if (button == Qt::RightButton) {
        mouseobj = sender;
        const QPoint p(pw::roundHalfEven(sender->x() + local.x()),
                       pw::roundHalfEven(sender->y() + local.y()));
        // Counted from the part of the row the window shows.
        const QPoint shownFrom = ui->view->mapFromScene(QPointF(0, 0));
        ui->PopupMenu1->exec(ui->view->viewport()->mapToGlobal(p + shownFrom));
    }
    if (pw::platform::isShiftDown())
        MoveFrom = int(LaunchBtn.indexOf(sender));
}

void TForm1::BtnMouseUp(TImage* sender, Qt::MouseButton, QPointF local)
{
    if (!pw::platform::isShiftDown())
        return;
    // The tile under the pointer at the release, which need not be the one pressed.
    TImage* target = nullptr;
    for (QGraphicsItem* item : scene_->items(sender->mapToScene(local))) {
        if (auto* tile = dynamic_cast<TImage*>(item); tile && LaunchBtn.contains(tile)) {
            target = tile;
            break;
        }
    }
    if (!target)
        return;
    MoveTo = int(LaunchBtn.indexOf(target));
    if (MoveFrom < 0 || MoveFrom >= LaunchBtn.size())
        return;
    LaunchBtn.move(MoveFrom, MoveTo);
    moveEntry(MoveFrom, MoveTo);
    ReSetBtn();
    saveGroup();
}

// ---- add mode, drop, delete --------------------------------------------------------------

void TForm1::AddMenuClick()
{
    const bool on = !ui->AddMenu->isChecked();
    ui->AddMenu->setChecked(on);
    ui->AddMenu2->setChecked(on);
    DropTarget1->setVisible(on);
    pw::access::rowChanged(*this, pw::access::RowChange::Children);
    if (!on)
        SetTransparency(!LaunchPath[std::size_t(MenuIndex)]->isEmpty());
    if (on)
        return;
    saveGroup();
}

void TForm1::DropTarget1DragDrop(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    const QString fname = paths.first();
    {
        PassGuard pass(*this);
        AddBtn(TRec{fname, QString(), pw::GetFileTitle(fname)});
        if (isVertical)
            SetHeight(Height() - bw);
    }
    // The new tile is the row's last: a row longer than the screen scrolls to
    // its end, so that the entry just added is in sight.
    scrollRowTo(std::numeric_limits<int>::max(), std::nullopt);
    pw::access::rowChanged(*this, pw::access::RowChange::Children);
    // Each dropped entry is written at once, so that leaving the group or
    // reloading it before add mode is left loses nothing. The file holds what
    // leaving add mode would write.
    saveGroup();
}

void TForm1::DelBtnClick()
{
    const int i = int(LaunchBtn.indexOf(mouseobj.data()));
    if (i < 0)
        return;
    if (TImage* tile = LaunchBtn.takeAt(i).tile)
        disposeTile(tile);
    removeEntry(i);
    if (LaunchPath[std::size_t(MenuIndex)]->isEmpty())
        AddMenuClick();
    saveGroup();
    ReSetBtn();
    if (LaunchBtn.isEmpty()) {
        ui->AddMenu->setChecked(false);
        AddMenuClick();
    }
}

void TForm1::EditCmdClick()
{
    selectIndex = int(LaunchBtn.indexOf(mouseobj.data()));
    if (selectIndex < 0 || selectIndex >= LaunchPath[std::size_t(MenuIndex)]->size())
        return;
    if (editors_)
        editors_->openParameters(LaunchPath[std::size_t(MenuIndex)]->at(selectIndex));
}

void TForm1::Seting2Click()
{
    if (editors_)
        editors_->openSettings();
}
