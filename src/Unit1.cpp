#include "Unit1.h"

#include "Unit2.h"
#include "Unit3.h"
#include "core/Errors.h"
#include "core/LaunchRule.h"
#include "core/Layout.h"
#include "core/Rounding.h"
#include "core/SettingBounds.h"
#include "platform/IconCache.h"
#include "platform/IniFile.h"
#include "platform/KeyState.h"
#include "platform/ShellLauncher.h"
#include "platform/TaskbarButton.h"
#include "ui_Unit1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QHash>
#include <QMenu>
#include <QMouseEvent>
#include <QPropertyAnimation>
#include <QScopeGuard>
#include <QScreen>
#include <QWheelEvent>
#include <QWindow>
#include <functional>
#include <thread>
#include <variant>

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
std::optional<QSizeF>& screenOverride()
{
    static std::optional<QSizeF> size;
    return size;
}
} // namespace

QString homeDirectory()
{
    if (!homeOverride().isEmpty())
        return homeOverride();
    return QDir(QCoreApplication::applicationDirPath()).absolutePath() + QLatin1Char('/');
}

void setHomeDirectoryForTesting(const QString& dir)
{
    homeOverride() = dir.isEmpty() || dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

QSizeF screenSize()
{
    if (screenOverride())
        return *screenOverride();
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? QSizeF(screen->size()) : QSizeF(1024, 768);
}

void setScreenSizeForTesting(std::optional<QSizeF> size)
{
    screenOverride() = size;
}

} // namespace pw

namespace
{

constexpr auto kIniName = "Pondwillow.ini";

// ---- the settings file's tables --------------------------------------------------

using Value = std::variant<std::int32_t, bool, double, QString, TRefrectMode>;

struct ReadRow {
    const char* section;
    const char* key;
    Value (*def)(const TForm1&);
    void (*assign)(TForm1&, const Value&);
};

struct WriteRow {
    const char* section;
    const char* key;
    Value (*get)(const TForm1&);
};

std::int32_t asInt(const Value& v)
{
    return std::get<std::int32_t>(v);
}
bool asBool(const Value& v)
{
    return std::get<bool>(v);
}
double asDouble(const Value& v)
{
    return std::get<double>(v);
}
float asFloat(const Value& v)
{
    return float(asDouble(v));
}

// A group index outside 0 to 4 names no group file; the first group is shown.
std::int32_t validGroup(std::int32_t i)
{
    return i >= 0 && i <= 4 ? i : 0;
}

QAction* groupAction(TForm1& f, int i);

// Every key read at start-up, in order; each value is assigned as soon as it
// is read, brought within the bounds the dock can show.
const ReadRow kReads[] = {
    {"Icon", "Size", [](const TForm1&) -> Value { return 48; },
     [](TForm1& f, const Value& v) { f.bw = pw::bounds::tileSize(asInt(v)); }},
    {"Form", "Top", [](const TForm1& f) -> Value { return pw::roundHalfEven(f.scy / 2.0); },
     [](TForm1& f, const Value& v) { f.SetTop(asInt(v)); }},
    {"Form", "Left", [](const TForm1& f) -> Value { return pw::roundHalfEven(f.scx / 2.0); },
     [](TForm1& f, const Value& v) { f.SetLeft(asInt(v)); }},
    {"Form", "Mode", [](const TForm1&) -> Value { return false; },
     [](TForm1& f, const Value& v) { f.isVertical = asBool(v); }},
    {"Refrect", "Mode", [](const TForm1&) -> Value { return TRefrectMode::mbottom; },
     [](TForm1& f, const Value& v) { f.RefrectMode = std::get<TRefrectMode>(v); }},
    {"Menu", "Index", [](const TForm1&) -> Value { return 0; },
     [](TForm1& f, const Value& v) { f.MenuIndex = validGroup(asInt(v)); }},
    {"Form", "TaskBar", [](const TForm1&) -> Value { return true; },
     [](TForm1& f, const Value& v) { f.isShowTaskBar = asBool(v); }},
    {"Icon", "Refrection", [](const TForm1&) -> Value { return true; },
     [](TForm1& f, const Value& v) { f.isRefr = asBool(v); }},
    {"Icon", "DisInterpolation", [](const TForm1&) -> Value { return true; },
     [](TForm1& f, const Value& v) { f.isDisInterpolation = asBool(v); }},
    {"Icon", "Jump", [](const TForm1&) -> Value { return 30; },
     [](TForm1& f, const Value& v) { f.PopLength = pw::bounds::jump(asInt(v)); }},
    {"Refrect", "Opa", [](const TForm1&) -> Value { return 0.5; },
     [](TForm1& f, const Value& v) { f.RefOpa = pw::bounds::finiteOr(asDouble(v), 0.5f); }},
    {"Refrect", "Length", [](const TForm1&) -> Value { return 0.5; },
     [](TForm1& f, const Value& v) { f.RefLength = pw::bounds::finiteOr(asDouble(v), 0.5f); }},
    {"Refrect", "Offset", [](const TForm1&) -> Value { return 0; },
     [](TForm1& f, const Value& v) { f.RefOff = pw::bounds::reflectionOffset(asInt(v)); }},
    {"Icon", "GapH", [](const TForm1&) -> Value { return 4; },
     [](TForm1& f, const Value& v) { f.Gp = float(pw::bounds::gap(asInt(v))); }},
    {"Hint", "Show", [](const TForm1&) -> Value { return true; },
     [](TForm1& f, const Value& v) { f.isShowHint = asBool(v); }},
    {"Mode", "Top", [](const TForm1&) -> Value { return false; },
     [](TForm1& f, const Value& v) { f.isTop = asBool(v); }},
    {"Menu", "Index", [](const TForm1&) -> Value { return 0; },
     [](TForm1& f, const Value& v) { f.MenuIndex = validGroup(asInt(v)); }},
    {"Menu", "Name0", [](const TForm1&) -> Value { return QStringLiteral("メニュー1"); },
     [](TForm1& f, const Value& v) { groupAction(f, 0)->setText(std::get<QString>(v)); }},
    {"Menu", "Name1", [](const TForm1&) -> Value { return QStringLiteral("メニュー2"); },
     [](TForm1& f, const Value& v) { groupAction(f, 1)->setText(std::get<QString>(v)); }},
    {"Menu", "Name2", [](const TForm1&) -> Value { return QStringLiteral("メニュー3"); },
     [](TForm1& f, const Value& v) { groupAction(f, 2)->setText(std::get<QString>(v)); }},
    {"Menu", "Name3", [](const TForm1&) -> Value { return QStringLiteral("メニュー4"); },
     [](TForm1& f, const Value& v) { groupAction(f, 3)->setText(std::get<QString>(v)); }},
    {"Menu", "Name4", [](const TForm1&) -> Value { return QStringLiteral("メニュー5"); },
     [](TForm1& f, const Value& v) { groupAction(f, 4)->setText(std::get<QString>(v)); }},
    {"Back", "Opa", [](const TForm1&) -> Value { return 0.5; },
     [](TForm1& f, const Value& v) {
         f.Rectangle1->setOpacity(qBound(0.0, double(asFloat(v)), 1.0));
     }},
    {"Back", "Color0", [](const TForm1&) -> Value { return std::int32_t(-984833); },
     [](TForm1& f, const Value& v) { f.Color0 = asInt(v); }},
    {"Back", "Color1", [](const TForm1&) -> Value { return std::int32_t(-984833); },
     [](TForm1& f, const Value& v) { f.Color1 = asInt(v); }},
    {"Back", "Gradient", [](const TForm1&) -> Value { return false; },
     [](TForm1& f, const Value& v) { f.isGradient = asBool(v); }},
    {"Back", "Direction", [](const TForm1&) -> Value { return 0; },
     [](TForm1& f, const Value& v) { f.Direction = asInt(v); }},
    {"Back", "Size", [](const TForm1&) -> Value { return 96; },
     [](TForm1& f, const Value& v) { f.BackSize = pw::bounds::panelSize(asInt(v)); }},
    {"Back", "Image", [](const TForm1&) -> Value { return false; },
     [](TForm1& f, const Value& v) { f.isGazou = asBool(v); }},
    {"Back", "ImageFile", [](const TForm1&) -> Value { return QString(); },
     [](TForm1& f, const Value& v) { f.GazouFile = std::get<QString>(v); }},
    {"Back", "Offset", [](const TForm1& f) -> Value { return f.xyoffset; },
     [](TForm1& f, const Value& v) { f.xyoffset = pw::bounds::offset(asInt(v)); }},
};

// Every key the settings file holds, in the order they are written.
const WriteRow kWrites[] = {
    {"Icon", "Size", [](const TForm1& f) -> Value { return f.bw; }},
    {"Form", "Top", [](const TForm1& f) -> Value { return f.Top(); }},
    {"Form", "Left", [](const TForm1& f) -> Value { return f.Left(); }},
    {"Form", "Mode", [](const TForm1& f) -> Value { return f.isVertical; }},
    {"Refrect", "Mode", [](const TForm1& f) -> Value { return f.RefrectMode; }},
    {"Menu", "Index", [](const TForm1& f) -> Value { return f.MenuIndex; }},
    {"Form", "TaskBar", [](const TForm1& f) -> Value { return f.isShowTaskBar; }},
    {"Icon", "Width", [](const TForm1& f) -> Value { return f.bw; }},
    {"Icon", "GapH", [](const TForm1& f) -> Value { return pw::roundHalfEven(f.Gp); }},
    {"Icon", "Refrection", [](const TForm1& f) -> Value { return f.isRefr; }},
    {"Icon", "DisInterpolation", [](const TForm1& f) -> Value { return f.isDisInterpolation; }},
    {"Icon", "Jump", [](const TForm1& f) -> Value { return f.PopLength; }},
    {"Refrect", "Opa", [](const TForm1& f) -> Value { return double(f.RefOpa); }},
    {"Refrect", "Length", [](const TForm1& f) -> Value { return double(f.RefLength); }},
    {"Refrect", "Offset", [](const TForm1& f) -> Value { return f.RefOff; }},
    {"Hint", "Show", [](const TForm1& f) -> Value { return f.isShowHint; }},
    {"Mode", "Top", [](const TForm1& f) -> Value { return f.isTop; }},
    {"Menu", "Index", [](const TForm1& f) -> Value { return f.MenuIndex; }},
    {"Menu", "Name0",
     [](const TForm1& f) -> Value { return groupAction(const_cast<TForm1&>(f), 0)->text(); }},
    {"Menu", "Name1",
     [](const TForm1& f) -> Value { return groupAction(const_cast<TForm1&>(f), 1)->text(); }},
    {"Menu", "Name2",
     [](const TForm1& f) -> Value { return groupAction(const_cast<TForm1&>(f), 2)->text(); }},
    {"Menu", "Name3",
     [](const TForm1& f) -> Value { return groupAction(const_cast<TForm1&>(f), 3)->text(); }},
    {"Menu", "Name4",
     [](const TForm1& f) -> Value { return groupAction(const_cast<TForm1&>(f), 4)->text(); }},
    {"Back", "Opa",
     [](const TForm1& f) -> Value { return double(float(f.Rectangle1->opacity())); }},
    {"Back", "Color0", [](const TForm1& f) -> Value { return f.Color0; }},
    {"Back", "Color1", [](const TForm1& f) -> Value { return f.Color1; }},
    {"Back", "Gradient", [](const TForm1& f) -> Value { return f.isGradient; }},
    {"Back", "Direction", [](const TForm1& f) -> Value { return f.Direction; }},
    {"Back", "Size", [](const TForm1& f) -> Value { return f.BackSize; }},
    {"Back", "Image", [](const TForm1& f) -> Value { return f.isGazou; }},
    {"Back", "ImageFile", [](const TForm1& f) -> Value { return f.GazouFile; }},
    {"Back", "Offset", [](const TForm1& f) -> Value { return f.xyoffset; }},
};

Value readValue(const TIniFile& ini, const ReadRow& row, const Value& def)
{
    const QString s = QString::fromLatin1(row.section);
    const QString k = QString::fromLatin1(row.key);
    return std::visit(
        [&](const auto& d) -> Value {
            using T = std::decay_t<decltype(d)>;
            if constexpr (std::is_same_v<T, std::int32_t>)
                return ini.ReadInteger(s, k, d);
            else if constexpr (std::is_same_v<T, bool>)
                return ini.ReadBool(s, k, d);
            else if constexpr (std::is_same_v<T, double>)
                return ini.ReadFloat(s, k, d);
            else if constexpr (std::is_same_v<T, QString>)
                return ini.ReadString(s, k, d);
            else {
                // An edge name that names none of the four edges gives the
                // default edge, so a valid name is saved next time.
                const auto mode =
                    pw::refrectModeFromName(ini.ReadString(s, k, pw::refrectModeName(d)));
                return mode.value_or(d);
            }
        },
        def);
}

void writeValue(TIniFile& ini, const WriteRow& row, const Value& v)
{
    const QString s = QString::fromLatin1(row.section);
    const QString k = QString::fromLatin1(row.key);
    std::visit(
        [&](const auto& x) {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::int32_t>)
                ini.WriteInteger(s, k, x);
            else if constexpr (std::is_same_v<T, bool>)
                ini.WriteBool(s, k, x);
            else if constexpr (std::is_same_v<T, double>)
                ini.WriteFloat(s, k, x);
            else if constexpr (std::is_same_v<T, QString>)
                ini.WriteString(s, k, x);
            else
                ini.WriteString(s, k, pw::refrectModeName(x));
        },
        v);
}

QAction* groupAction(TForm1& f, int i)
{
    Ui::TForm1& ui = f.form();
    QAction* items[] = {ui.Menu0, ui.Menu1, ui.Menu2, ui.Menu3, ui.Menu4};
    return items[i];
}

QColor argb(std::int32_t c)
{
    return QColor::fromRgba(static_cast<QRgb>(c));
}

} // namespace

// A layout pass changes the window's size many times; the real window follows
// once, when the outermost pass ends.
struct TForm1::PassGuard {
    explicit PassGuard(TForm1& f) : form(f) { ++form.passDepth_; }
    ~PassGuard()
    {
        if (--form.passDepth_ == 0)
            form.syncGeometry();
    }
    TForm1& form;
};

TForm1::TForm1(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TForm1>())
{
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
    frame_ = QRect(0, 0, 337, 193);
    FormCreate();
}

TForm1::~TForm1()
{
    // The tiles go with the scene, after the handlers they report to.
    for (TImage* tile : std::as_const(LaunchBtn))
        tile->setHandlers(nullptr);
    // LaunchBtn, then the five lists; the tiles go with the scene.
    LaunchBtn.clear();
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
        connect(groupAction(*this, i), &QAction::triggered, this, [this, i] { MenuClick(i); });

    // Shortcuts work while the dock has the focus, whether a menu is open or not.
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
}

void TForm1::FormCreate()
{
    for (auto& list : LaunchPath)
        list = std::make_unique<TStringList>();
    HomePath = pw::homeDirectory();
    GetScale();
    ReadIniFile();
    if (!isShowTaskBar)
        pw::platform::hideTaskbarButton(*this);
    SetHeight(2 * bw);
    SetWidth(2 * bw);
    SetBackColor();
    syncGeometry();
    TMessageDispatcherWin::RegisterHandler(this);
}

void TForm1::GetScale()
{
    const QSizeF s = pw::screenSize();
    scx = float(s.width());
    scy = float(s.height());
}

void TForm1::ReadIniFile()
{
    TIniFile ini(HomePath + QLatin1String(kIniName));
    for (const ReadRow& row : kReads)
        row.assign(*this, readValue(ini, row, row.def(*this)));
    groupAction(*this, MenuIndex)->setChecked(true);
    setWindowFlag(Qt::WindowStaysOnTopHint, isTop);
}

void TForm1::WriteIniFile()
{
    TIniFile ini(HomePath + QLatin1String(kIniName));
    for (const WriteRow& row : kWrites)
        writeValue(ini, row, row.get(*this));
    ini.UpdateFile();
}

bool TForm1::StayOnTop() const
{
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

// ---- window geometry --------------------------------------------------------------

void TForm1::SetLeft(int v)
{
    frame_.moveLeft(v);
    syncGeometry();
}

void TForm1::SetTop(int v)
{
    frame_.moveTop(v);
    syncGeometry();
}

void TForm1::SetWidth(int v)
{
    frame_.setWidth(std::max(0, v));
    alignPanel();
    syncGeometry();
}

void TForm1::SetHeight(int v)
{
    frame_.setHeight(std::max(0, v));
    alignPanel();
    syncGeometry();
}

void TForm1::syncGeometry()
{
    if (passDepth_ > 0 || !ui)
        return;
    const QRect shown = shownFrame();
    // A row longer than the screen starts at the screen's start.
    frame_.moveTopLeft(shown.topLeft());
    scene_->setSceneRect(0, 0, frame_.width(), frame_.height());
    if (geometry() != shown)
        setGeometry(shown);
    applyScroll();
}

QRect TForm1::shownFrame() const
{
    return pw::layout::shownWindow(isVertical, frame_, QSizeF(scx, scy));
}

void TForm1::applyScroll()
{
    const QRect shown = shownFrame();
    scroll_ = std::clamp(scroll_, 0, pw::layout::maxScroll(isVertical, frame_, shown));
    const QPointF origin = isVertical ? QPointF(0, scroll_) : QPointF(scroll_, 0);
    ui->view->setSceneRect(QRectF(origin, QSizeF(shown.size())));
    alignPanel();
    realizeShownTiles();
}

void TForm1::realizeShownTiles()
{
    const QRect shown = shownFrame();
    const pw::layout::IndexRange range =
        pw::layout::tilesInSpan(layoutParams(), scroll_,
                                isVertical ? shown.height() : shown.width(), int(LaunchBtn.size()));
    for (int i = range.first; i < range.last; ++i)
        LaunchBtn[i]->realize();
}

bool TForm1::wheelScroll(QWheelEvent* e)
{
    const int max = pw::layout::maxScroll(isVertical, frame_, shownFrame());
    if (max == 0)
        return false;
    e->accept();
    const QPoint angle = e->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    const int step = pw::layout::wheelStep(layoutParams(), QApplication::wheelScrollLines());
    const int next = pw::layout::scrolledBy(scroll_, delta, step, max);
    if (next == scroll_)
        return true;
    scroll_ = next;
    applyScroll();
    // The row moved under a resting pointer: the tile under it is entered.
    QWidget* viewport = ui->view->viewport();
    if (QGuiApplication::mouseButtons() == Qt::NoButton) {
        const QPointF local = e->position();
        QMouseEvent move(QEvent::MouseMove, local, viewport->mapToGlobal(local), Qt::NoButton,
                         Qt::NoButton, e->modifiers());
        QCoreApplication::sendEvent(viewport, &move);
    }
    return true;
}

void TForm1::alignPanel()
{
    if (!Rectangle1)
        return;
    // The panel spans the window as shown, wherever the row is scrolled to.
    QRectF r = pw::layout::panelRect(Rectangle1->align(), Rectangle1->size(), shownFrame().size());
    r.translate(isVertical ? QPointF(0, scroll_) : QPointF(scroll_, 0));
    Rectangle1->setSize(r.size());
    Rectangle1->setPos(r.topLeft());
}

void TForm1::SetTransparency(bool on)
{
    transparency_ = on;
    ui->view->setBackgroundBrush(on ? QBrush(Qt::NoBrush) : palette().window());
    ui->view->viewport()->update();
}

// ---- start-up, show, close ----------------------------------------------------------

void TForm1::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (!shown_) {
        shown_ = true;
        if (QWindow* w = windowHandle())
            w->installEventFilter(this);
        FormShow();
    }
}

bool TForm1::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::Wheel && ui && watched == ui->view->viewport())
        return wheelScroll(static_cast<QWheelEvent*>(e));
    // Some window managers report a window placed before it was mapped at
    // (0, 0); placing it again once it is first exposed puts Qt's idea of the
    // position and the real one back in step.
    if (!exposed_ && watched == windowHandle() && e->type() == QEvent::Expose &&
        windowHandle()->isExposed()) {
        exposed_ = true;
        windowHandle()->setPosition(frame_.topLeft());
        windowHandle()->removeEventFilter(this);
    }
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

// ---- groups -----------------------------------------------------------------------

QString TForm1::groupFileName(int index) const
{
    return HomePath + QStringLiteral("PondwillowPath%1.txt").arg(index);
}

void TForm1::saveGroup()
{
    LaunchPath[std::size_t(MenuIndex)]->SaveToFile(groupFileName(MenuIndex));
}

bool TForm1::isAddMode() const
{
    return ui->AddMenu->isChecked();
}

void TForm1::clearTiles()
{
    for (TImage* tile : std::as_const(LaunchBtn)) {
        if (tile->scene())
            tile->scene()->removeItem(tile);
        tile->setHandlers(nullptr);
        // Deleted later, so a handler that is running on the tile (a menu
        // command, the end of its jump) finishes first.
        tile->deleteLater();
    }
    LaunchBtn.clear();
}

// What one load of a group learns about its files, so that each distinct
// file is looked at once and each distinct picture turned once, however many
// entries name it. Kept to a bounded size.
struct TForm1::LoadCache {
    static constexpr qsizetype kMaxFiles = 4096;
    QHash<QString, bool> isFile;
    QHash<QString, QImage> icons; // file -> its icon, as the cache gave it
    QHash<qint64, QImage> turned; // a picture's cache key -> the picture turned for the edge

    bool fileExists(const QString& path)
    {
        if (const auto it = isFile.constFind(path); it != isFile.cend())
            return *it;
        if (isFile.size() >= kMaxFiles)
            isFile.clear();
        const bool exists = QFileInfo(path).isFile();
        isFile.insert(path, exists);
        return exists;
    }
};

void TForm1::SetMenu(int index)
{
    PassGuard pass(*this);
    LoadCache cache;
    loadCache_ = &cache;
    const auto done = qScopeGuard([this] { loadCache_ = nullptr; });
    // A group is shown from its first tile on.
    scroll_ = 0;
    // The layout prelude comes before the load, the cursor start after it.
    BeginLayout();
    TStringList& list = *LaunchPath[std::size_t(index)];
    list.clear();
    DropTarget1->setVisible(false);
    TStringList lines;
    const bool read = lines.LoadFromFile(groupFileName(index));
    if (!read)
        SetTransparency(true);
    if (!read || lines.isEmpty()) {
        DropTarget1->setVisible(true);
        ui->AddMenu->setChecked(true);
        ui->AddMenu2->setChecked(true);
    }
    startCursor();
    LaunchBtn.reserve(lines.size());
    list.reserve(lines.size());
    for (const QString& line : std::as_const(lines)) {
        const std::optional<TRec> entry = pw::entryFromLine(line);
        if (!entry || !cache.fileExists(entry->fname))
            continue;
        // A line already in the form it is held in is kept as read, shared.
        const QString composed = pw::composeEntryLine(*entry);
        addTile(*entry, composed == line ? line : composed);
    }
    EndLayout();
}

void TForm1::MenuClick(int group)
{
    groupAction(*this, group)->setChecked(true);
    MenuIndex = group;
    clearTiles();
    SetMenu(MenuIndex);
}

// ---- layout -------------------------------------------------------------------------

pw::layout::Params TForm1::layoutParams() const
{
    return {isVertical, RefrectMode, bw, Gp, BackSize, xyoffset, PopLength};
}

void TForm1::startCursor()
{
    const QPointF start = pw::layout::cursorStart(layoutParams());
    Gx = float(start.x());
    Gy = float(start.y());
}

void TForm1::BeginLayout()
{
    const pw::layout::Params p = layoutParams();
    Gx = 0;
    Gy = 0;
    if (const auto align = pw::layout::panelAlign(p))
        Rectangle1->setAlign(*align);
    const int across = pw::layout::acrossSize(p);
    QSizeF panel = Rectangle1->size();
    if (isVertical) {
        SetWidth(across);
        panel.setWidth(BackSize);
    } else {
        SetHeight(across);
        panel.setHeight(BackSize);
    }
    Rectangle1->setSize(panel);
    alignPanel();
    placedInPass_ = 0;
}

QPointF TForm1::placeNewTile(TImage* tile)
{
    const pw::layout::Params p = layoutParams();
    QPointF cursor(Gx, Gy);
    if (const auto pos = pw::layout::placeTile(p, cursor, Rectangle1->size(), frame_.size())) {
        tile->setPos(*pos);
        Gx = float(cursor.x());
        Gy = float(cursor.y());
    }
    ++placedInPass_;
    return tile->pos();
}

void TForm1::lengthen()
{
    const pw::layout::Params p = layoutParams();
    const int length = pw::layout::lengthAfterPlace(p, QPointF(Gx, Gy));
    if (isVertical)
        SetHeight(length);
    else
        SetWidth(length);
}

void TForm1::SetFormBtn(TImage* tile)
{
    placeNewTile(tile);
    lengthen();
    scene_->addItem(tile);
}

void TForm1::EndLayout()
{
    const pw::layout::Params p = layoutParams();
    if (placedInPass_ == 0) {
        // An empty dock keeps room for one tile slot, where the drop zone shows.
        if (isVertical)
            SetHeight(pw::layout::emptyLength(p));
        else
            SetWidth(pw::layout::emptyLength(p));
    } else if (isVertical) {
        SetHeight(Height() - bw);
    }
    const QPoint pos =
        pw::layout::keepOnScreen(RefrectMode, frame_, Rectangle1->size(), QSizeF(scx, scy));
    frame_.moveTopLeft(pos);
    // A dock placed (nearly) off the screen comes back far enough to be seen
    // and dragged.
    frame_.moveTopLeft(pw::bounds::keepReachable(frame_, QSizeF(scx, scy)));
    syncGeometry();
}

void TForm1::ReSetBtn()
{
    PassGuard pass(*this);
    for (TImage* tile : std::as_const(LaunchBtn))
        scene_->removeItem(tile);
    BeginLayout();
    DropTarget1->setVisible(false);
    startCursor();
    for (TImage* tile : std::as_const(LaunchBtn))
        SetFormBtn(tile);
    EndLayout();
}

// ---- tiles ----------------------------------------------------------------------------

void TForm1::AddBtn(const TRec& entry)
{
    addTile(entry, pw::composeEntryLine(entry));
}

// Builds the tile of an entry whose line, as the group list holds it, is
// `line`. A dock may hold a great many tiles, so a tile keeps only what is its
// own: the handlers are the dock's, shared; no connection is made per tile;
// the effect is installed and the tooltip set once the tile is shown
// (TImage::realize).
void TForm1::addTile(const TRec& entry, const QString& line)
{
    PassGuard pass(*this);
    const pw::layout::Params p = layoutParams();
    auto* tile = new TImage(bw);
    scene_->addItem(tile);
    tile->setHandlers(&tileHandlers_);

    if (isShowHint) {
        tile->setHint(entry.param.isEmpty()
                          ? entry.hint
                          : entry.hint + QStringLiteral(" -> ") + pw::fileNamePart(entry.param));
        tile->setShowHint(true);
    }
    tile->setDisableInterpolation(isDisInterpolation);

    if (isRefr) {
        auto* effect = new TReflectionEffect(tile);
        effect->setOpacity(RefOpa);
        effect->setLength(RefLength);
        effect->setOffset(RefOff);
    } else {
        makeShadowEffect(tile);
    }

    SetIcon(entry.fname, tile);

    const pw::layout::Turn turn = pw::layout::turnFor(p);
    auto* swing = new TileAnimation(tile, TileAnimation::Property::Rotation);
    swing->setDuration(100);
    swing->setKeyValues({{0.0, double(turn.swingStart)}, {1.0, double(turn.swingStop)}});
    // The swing runs each time the pointer enters the tile.
    tile->setHoverAnimation(swing);

    placeNewTile(tile);

    if (const auto jump = pw::layout::jumpFor(p, QPointF(Gx, Gy))) {
        auto* anim = new TileAnimation(
            tile, jump->alongX ? TileAnimation::Property::X : TileAnimation::Property::Y, true);
        anim->setDuration(400); // 0.2 s out, 0.2 s back
        anim->setKeyValues(
            {{0.0, double(jump->start)}, {0.5, double(jump->stop)}, {1.0, double(jump->start)}});
    } else {
        new TileAnimation(tile, TileAnimation::Property::None);
    }

    LaunchBtn.append(tile);
    LaunchPath[std::size_t(MenuIndex)]->append(line);
    lengthen();
}

void TForm1::SetIcon(const QString& fileName, TImage* tile)
{
    if (loadCache_) {
        if (const auto it = loadCache_->icons.constFind(fileName); it != loadCache_->icons.cend()) {
            showIcon(*it, tile);
            return;
        }
    }
    const QImage icon = pw::platform::IconCache::instance().fileIcon(fileName, bw);
    if (icon.isNull()) {
        SetShellIcon(fileName, tile);
        return;
    }
    if (loadCache_) {
        if (loadCache_->icons.size() >= LoadCache::kMaxFiles)
            loadCache_->icons.clear();
        loadCache_->icons.insert(fileName, icon);
    }
    showIcon(icon, tile);
}

void TForm1::SetShellIcon(const QString& fileName, TImage* tile)
{
    const QImage icon = pw::platform::IconCache::instance().typeIcon(fileName, bw);
    if (loadCache_) {
        if (loadCache_->icons.size() >= LoadCache::kMaxFiles)
            loadCache_->icons.clear();
        loadCache_->icons.insert(fileName, icon);
    }
    showIcon(icon, tile);
}

// The tile's frame is turned so that its lower side faces the dock's edge,
// and the picture by the opposite angle, so the icon is seen upright. During a
// load, tiles of the same picture share one turned copy.
void TForm1::showIcon(const QImage& icon, TImage* tile)
{
    const float rest = pw::layout::turnFor(layoutParams()).rest;
    if (rest == 0) {
        // Not turned: the tile keeps no transform.
        tile->setBitmap(icon);
        return;
    }
    QImage turned;
    if (loadCache_) {
        if (const auto it = loadCache_->turned.constFind(icon.cacheKey());
            it != loadCache_->turned.cend())
            turned = *it;
    }
    if (turned.isNull()) {
        turned = icon.transformed(QTransform().rotate(-rest));
        if (loadCache_ && !icon.isNull())
            loadCache_->turned.insert(icon.cacheKey(), turned);
    }
    tile->setBitmap(turned);
    tile->setRotation(rest);
}

void TForm1::BtnMouseEnter(TImage* sender)
{
    mouseobj = sender;
    if (isRefr) {
        if (auto* effect = qobject_cast<TReflectionEffect*>(sender->child(0)))
            effect->setOpacity(1);
    }
}

void TForm1::BtnMouseLeave(TImage* sender)
{
    mouseobj = sender;
    if (isRefr) {
        if (auto* effect = qobject_cast<TReflectionEffect*>(sender->child(0)))
            effect->setOpacity(RefOpa);
    }
}

void TForm1::JumpFinish()
{
    // Repaints the whole dock once the tile is back in place.
    const int w = Width();
    {
        PassGuard pass(*this);
        SetWidth(w + 1);
        SetWidth(w);
    }
    ui->view->viewport()->update();
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
    std::thread([t = *target, panel] {
        pw::platform::shellLaunch(t.file, t.params, t.dir);
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
    LaunchPath[std::size_t(MenuIndex)]->move(MoveFrom, MoveTo);
    saveGroup();
    ReSetBtn();
}

// ---- add mode, drop, delete --------------------------------------------------------------

void TForm1::AddMenuClick()
{
    const bool on = !ui->AddMenu->isChecked();
    ui->AddMenu->setChecked(on);
    ui->AddMenu2->setChecked(on);
    DropTarget1->setVisible(on);
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
    PassGuard pass(*this);
    AddBtn(TRec{fname, QString(), pw::GetFileTitle(fname)});
    if (isVertical)
        SetHeight(Height() - bw);
}

void TForm1::DelBtnClick()
{
    const int i = int(LaunchBtn.indexOf(mouseobj.data()));
    if (i < 0)
        return;
    TImage* tile = LaunchBtn.takeAt(i);
    scene_->removeItem(tile);
    tile->setHandlers(nullptr);
    tile->deleteLater();
    LaunchPath[std::size_t(MenuIndex)]->removeAt(i);
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
    if (Form3)
        Form3->editEntry();
}

void TForm1::Seting2Click()
{
    if (Form2)
        Form2->exec();
}

// ---- moving the window ------------------------------------------------------------------

// The window follows the pointer from the press until the release. The
// pointer's place is asked of the screen each time, so moving the window under
// the pointer does not feed back into the distance, and a window manager that
// misreports the window's place cannot make it jump.
void TForm1::Rectangle1MouseDown(Qt::MouseButton)
{
    dragging_ = true;
    dragMoved_ = false;
    dragStart_ = QCursor::pos();
    dragOrigin_ = frame_.topLeft();
}

void TForm1::panelMoved()
{
    if (!dragging_)
        return;
    const QPoint delta = QCursor::pos() - dragStart_;
    if (delta.manhattanLength() > 3)
        dragMoved_ = true;
    frame_.moveTopLeft(dragOrigin_ + delta);
    syncGeometry();
}

void TForm1::panelReleased(Qt::MouseButton button)
{
    dragging_ = false;
    // A right click that did not move the window opens the panel's menu.
    if (button == Qt::RightButton && !dragMoved_)
        ui->PopupMenu2->popup(QCursor::pos());
}

// ---- background ------------------------------------------------------------------------------

void TForm1::SetBackColor()
{
    if (isGazou) {
        if (!QFileInfo(GazouFile).isFile())
            return;
        QImage picture(GazouFile);
        // A file that is not a readable picture leaves the panel as it was.
        if (picture.isNull())
            return;
        Rectangle1->setBitmap(std::move(picture));
        return;
    }
    if (isGradient) {
        Rectangle1->setGradient(argb(Color0), argb(Color1));
        switch (Direction) {
        case 0:
            Rectangle1->setGradientPoints({0, 0}, {0, 1});
            break;
        case 1:
            Rectangle1->setGradientPoints({0, 0}, {1, 0});
            break;
        case 2:
            Rectangle1->setGradientPoints({0, 0}, {1, 1});
            break;
        default:
            break;
        }
        return;
    }
    Rectangle1->setSolid(argb(Color0));
}
