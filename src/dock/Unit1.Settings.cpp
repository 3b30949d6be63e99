// The settings file: which keys are read and written, in which order, with
// which defaults and bounds.
#include "dock/Unit1.h"

#include "core/IniValues.h"
#include "core/Rounding.h"
#include "core/SettingBounds.h"
#include "storage/IniFile.h"

#include <QAction>
#include <QCoreApplication>
#include <variant>

namespace
{

constexpr auto kIniFileName = "Pondwillow.ini";

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

// Every key read at start-up, in order; each value is assigned as soon as it
// is read, brought within the bounds the dock can show.
const ReadRow kReads[] = {
    {"Icon", "Size", [](const TForm1&) -> Value { return 48; },
     [](TForm1& f, const Value& v) { f.bw = pw::bounds::tileSize(asInt(v)); }},
    {"Form", "Top",
     [](const TForm1& f) -> Value { return f.screenRect().top() + pw::roundHalfEven(f.scy / 2.0); },
     [](TForm1& f, const Value& v) { f.SetTop(asInt(v)); }},
    {"Form", "Left",
     [](const TForm1& f) -> Value {
         return f.screenRect().left() + pw::roundHalfEven(f.scx / 2.0);
     },
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
    // A missing group name is the group's caption in the form, in the user's
    // language (a new settings file in English gets "Menu 1"). A name that is
    // in the file is the user's own and is never translated.
    {"Menu", "Name0",
     [](const TForm1&) -> Value { return QCoreApplication::translate("TForm1", "メニュー1"); },
     [](TForm1& f, const Value& v) { f.groupItem(0)->setText(std::get<QString>(v)); }},
    {"Menu", "Name1",
     [](const TForm1&) -> Value { return QCoreApplication::translate("TForm1", "メニュー2"); },
     [](TForm1& f, const Value& v) { f.groupItem(1)->setText(std::get<QString>(v)); }},
    {"Menu", "Name2",
     [](const TForm1&) -> Value { return QCoreApplication::translate("TForm1", "メニュー3"); },
     [](TForm1& f, const Value& v) { f.groupItem(2)->setText(std::get<QString>(v)); }},
    {"Menu", "Name3",
     [](const TForm1&) -> Value { return QCoreApplication::translate("TForm1", "メニュー4"); },
     [](TForm1& f, const Value& v) { f.groupItem(3)->setText(std::get<QString>(v)); }},
    {"Menu", "Name4",
     [](const TForm1&) -> Value { return QCoreApplication::translate("TForm1", "メニュー5"); },
     [](TForm1& f, const Value& v) { f.groupItem(4)->setText(std::get<QString>(v)); }},
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
    {"Form", "Top", [](const TForm1& f) -> Value { return f.storedPosition().y(); }},
    {"Form", "Left", [](const TForm1& f) -> Value { return f.storedPosition().x(); }},
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
    {"Menu", "Name0", [](const TForm1& f) -> Value { return f.groupItem(0)->text(); }},
    {"Menu", "Name1", [](const TForm1& f) -> Value { return f.groupItem(1)->text(); }},
    {"Menu", "Name2", [](const TForm1& f) -> Value { return f.groupItem(2)->text(); }},
    {"Menu", "Name3", [](const TForm1& f) -> Value { return f.groupItem(3)->text(); }},
    {"Menu", "Name4", [](const TForm1& f) -> Value { return f.groupItem(4)->text(); }},
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

} // namespace

void TForm1::ReadIniFile()
{
    TIniFile ini(HomePath + QLatin1String(kIniFileName));
    for (const ReadRow& row : kReads)
        row.assign(*this, readValue(ini, row, row.def(*this)));
    groupItem(MenuIndex)->setChecked(true);
    setWindowFlag(Qt::WindowStaysOnTopHint, isTop);
}

void TForm1::WriteIniFile()
{
    TIniFile ini(HomePath + QLatin1String(kIniFileName));
    for (const WriteRow& row : kWrites)
        writeValue(ini, row, row.get(*this));
    ini.UpdateFile();
}
