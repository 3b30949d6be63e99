// Loading a group and building its tiles: icon, hint, effect, animations.
#include "dock/Unit1.h"

#include "core/Layout.h"
#include "dock/DockAccessibility.h"
#include "icons/IconCache.h"
#include "platform/FileProbe.h"
#include "ui_Unit1.h"

#include <cmath>

// ---- groups -----------------------------------------------------------------------

QString TForm1::groupFileName(int index) const
{
    return HomePath + QStringLiteral("PondwillowPath%1.txt").arg(index);
}

void TForm1::saveGroup()
{
    const std::size_t group = std::size_t(MenuIndex);
    TStringList file;
    static_cast<QStringList&>(file) = keptLines_[group].fileLines(*LaunchPath[group]);
    file.SaveToFile(groupFileName(MenuIndex));
}

void TForm1::moveEntry(int from, int to)
{
    TStringList& list = *LaunchPath[std::size_t(MenuIndex)];
    keptLines_[std::size_t(MenuIndex)].carryMove(list.size(), from, to);
    list.move(from, to);
}

void TForm1::removeEntry(int index)
{
    TStringList& list = *LaunchPath[std::size_t(MenuIndex)];
    keptLines_[std::size_t(MenuIndex)].carryRemove(list.size(), index);
    list.removeAt(index);
}

bool TForm1::isAddMode() const
{
    return ui->AddMenu->isChecked();
}

void TForm1::clearTiles()
{
    for (TImage* tile : LaunchBtn.clear())
        disposeTile(tile);
}

void TForm1::disposeTile(TImage* tile)
{
    if (tile->scene())
        tile->scene()->removeItem(tile);
    tile->setHandlers(nullptr);
    // Deleted later, so a handler that is running on the tile (a menu
    // command, the end of its jump) finishes first.
    tile->deleteLater();
}

void TForm1::SetMenu(int index)
{
    PassGuard pass(*this);
    loadCache_ = LoadCache();
    // A group is shown from its first tile on.
    scroll_ = 0;
    // The layout prelude comes before the load, the cursor start after it.
    BeginLayout();
    TStringList& list = *LaunchPath[std::size_t(index)];
    list.clear();
    pw::KeptLines& kept = keptLines_[std::size_t(index)];
    kept.clear();
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
    // The entries, then which of their files are there, all at once.
    QList<std::optional<TRec>> entries;
    entries.reserve(lines.size());
    QStringList files;
    files.reserve(lines.size());
    for (const QString& line : std::as_const(lines)) {
        entries << pw::entryFromLine(line);
        if (entries.last())
            files << entries.last()->fname;
    }
    const QList<bool> there = pw::platform::filesExist(files);
    LaunchBtn.reserve(files.size());
    list.reserve(files.size());
    qsizetype file = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        // An empty line holds nothing and is not written back.
        const std::optional<TRec>& entry = entries.at(i);
        if (!entry)
            continue;
        const QString& line = lines.at(i);
        // An entry whose file is not there now (a drive not mounted yet, a
        // folder, a broken link) makes no tile, but its line is kept as read
        // after the shown line before it, so that a save writes it back and a
        // later load shows it again once the file is there.
        if (!there.at(file++)) {
            kept.keep(int(list.size()) - 1, line);
            continue;
        }
        // A line already in the form it is held in is kept as read, shared.
        const QString composed = pw::composeEntryLine(*entry);
        addTile(composed == line ? line : composed);
    }
    EndLayout();
    keepKeyFocusOnRow();
    pw::access::rowChanged(*this, pw::access::RowChange::Group);
}

void TForm1::MenuClick(int group)
{
    groupItem(group)->setChecked(true);
    MenuIndex = group;
    clearTiles();
    SetMenu(MenuIndex);
}

// ---- tiles ----------------------------------------------------------------------------

void TForm1::AddBtn(const TRec& entry)
{
    addTile(pw::composeEntryLine(entry));
}

// Adds the entry whose line, as the group list holds it, is `line` to the
// row. A dock may hold a great many entries, so an entry keeps only its line
// and its place (see TTileRow); its tile is made once it is on screen.
void TForm1::addTile(const QString& line)
{
    PassGuard pass(*this);
    const pw::layout::Params p = layoutParams();
    TTileRow::Slot slot;
    slot.pos = placeNext().value_or(QPointF());
    // Where the tile jumps from and to depends on the layout cursor as the
    // tile is placed; the animation is made when the tile is first shown.
    slot.jump = pw::layout::jumpFor(p, QPointF(Gx, Gy));
    LaunchBtn.append(slot);
    LaunchPath[std::size_t(MenuIndex)]->append(line);
    lengthen();
}

// A tile keeps only what is its own: the handlers are the dock's, shared; no
// connection is made per tile; its effect, animations and picture are made
// and its tooltip set once the tile is first on screen (realizeTile).
TImage* TForm1::makeTile(qsizetype i, const TTileRow::Slot& slot)
{
    const TStringList& lines = *LaunchPath[std::size_t(MenuIndex)];
    const TRec entry = i < lines.size() ? pw::entryFromLine(lines.at(i)).value_or(TRec{}) : TRec{};
    auto* tile = new TImage(bw);
    scene_->addItem(tile);
    tile->setHandlers(&tileHandlers_);
    if (isShowHint) {
        tile->setHint(pw::tileHint(entry));
        tile->setShowHint(true);
    }
    tile->setDisableInterpolation(isDisInterpolation);
    tile->setIconSource(entry.fname);
    const pw::layout::Turn turn = pw::layout::turnFor(layoutParams());
    if (turn.rest != 0)
        tile->setRotation(turn.rest);
    tile->setPos(slot.pos);
    tile->setJump(slot.jump);
    return tile;
}

void TForm1::realizeTile(TImage* tile)
{
    if (tile->isRealized())
        return;
    // The tile's children, in their order: the effect, the swing, the jump.
    if (isRefr) {
        auto* effect = new TReflectionEffect(tile);
        effect->setOpacity(RefOpa);
        effect->setLength(RefLength);
        effect->setOffset(RefOff);
    } else {
        makeShadowEffect(tile);
    }

    const pw::layout::Turn turn = pw::layout::turnFor(layoutParams());
    auto* swing = new TileAnimation(tile, TileAnimation::Property::Rotation);
    swing->setDuration(100);
    swing->setKeyValues({{0.0, double(turn.swingStart)}, {1.0, double(turn.swingStop)}});
    // The swing runs each time the pointer enters the tile.
    tile->setHoverAnimation(swing);

    if (const std::optional<pw::layout::Jump> jump = tile->jump()) {
        auto* anim = new TileAnimation(
            tile, jump->alongX ? TileAnimation::Property::X : TileAnimation::Property::Y, true);
        anim->setDuration(400); // 0.2 s out, 0.2 s back
        anim->setKeyValues(
            {{0.0, double(jump->start)}, {0.5, double(jump->stop)}, {1.0, double(jump->start)}});
    } else {
        new TileAnimation(tile, TileAnimation::Property::None);
    }

    SetIcon(tile->iconSource(), tile);
    tile->realize();
}

int TForm1::iconPixels() const
{
    // A tile's picture is made at the size it covers on the screen, so that
    // it is drawn one to one however dense the monitor's pixels are.
    return std::max(1, int(std::ceil(bw * devicePixelRatioF() - 1e-3)));
}

void TForm1::remakePictures()
{
    const int pixels = iconPixels();
    if (pixels == picturePixels_)
        return;
    picturePixels_ = pixels;
    loadCache_.icons.clear();
    loadCache_.turned.clear();
    for (TImage* tile : LaunchBtn.madeTiles()) {
        if (tile->isRealized())
            SetIcon(tile->iconSource(), tile);
    }
}

void TForm1::SetIcon(const QString& fileName, TImage* tile)
{
    picturePixels_ = iconPixels();
    if (const auto it = loadCache_.icons.constFind(fileName); it != loadCache_.icons.cend()) {
        showIcon(*it, tile);
        return;
    }
    const QImage icon = pw::platform::IconCache::instance().fileIcon(fileName, iconPixels());
    if (icon.isNull()) {
        SetShellIcon(fileName, tile);
        return;
    }
    if (loadCache_.icons.size() >= LoadCache::kMaxFiles)
        loadCache_.icons.clear();
    loadCache_.icons.insert(fileName, icon);
    showIcon(icon, tile);
}

void TForm1::SetShellIcon(const QString& fileName, TImage* tile)
{
    const QImage icon = pw::platform::IconCache::instance().typeIcon(fileName, iconPixels());
    if (loadCache_.icons.size() >= LoadCache::kMaxFiles)
        loadCache_.icons.clear();
    loadCache_.icons.insert(fileName, icon);
    showIcon(icon, tile);
}

// The tile's frame is turned so that its lower side faces the dock's edge,
// and the picture by the opposite angle, so the icon is seen upright. Tiles of
// the same picture share one turned copy.
void TForm1::showIcon(const QImage& icon, TImage* tile)
{
    const float rest = pw::layout::turnFor(layoutParams()).rest;
    if (rest == 0) {
        // Not turned: the tile keeps no transform.
        tile->setBitmap(icon);
        return;
    }
    QImage turned = loadCache_.turned.value(icon.cacheKey());
    if (turned.isNull()) {
        turned = icon.transformed(QTransform().rotate(-rest));
        if (!icon.isNull()) {
            if (loadCache_.turned.size() >= LoadCache::kMaxFiles)
                loadCache_.turned.clear();
            loadCache_.turned.insert(icon.cacheKey(), turned);
        }
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

// The graphics view repaints what each frame of a swing changed, yet now and
// then it leaves a sliver of a turned tile's mirror behind. Once the tile is
// at rest, the square the tile and its mirror can sweep is drawn afresh,
// which clears any such sliver; the repaint joins the next frame.
void TForm1::swingFinished(TImage* tile)
{
    const qreal half = bw / 2.0;
    const qreal extra = isRefr ? bw * qreal(RefLength) + std::abs(RefOff) : 8;
    const qreal reach = std::hypot(half, half + extra) + 2;
    const QPointF centre = tile->mapToScene(QPointF(half, half));
    scene_->update(QRectF(centre - QPointF(reach, reach), QSizeF(2 * reach, 2 * reach)));
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
