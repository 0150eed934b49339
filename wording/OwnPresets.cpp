#include "wording/OwnPresets.h"

#include "core/SheetCode.h"
#include "wording/Text.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>

namespace sumvarl {

namespace {

const QString Format = QStringLiteral("sumvarl-own-presets");
constexpr int Version = 1;
// Far above any real list; a file larger than this is no file of ours.
constexpr qint64 LargestFile = qint64{4} * 1024 * 1024;

// {"format": "sumvarl-own-presets", "version": 1, "presets": [{"name": …, "recipe": code}]}
std::optional<std::vector<Preset>> Parse(const QByteArray& bytes)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    const QJsonObject root = document.object();
    if (error.error != QJsonParseError::NoError || root.value(QStringLiteral("format")) != Format ||
        root.value(QStringLiteral("version")).toInt() != Version ||
        !root.value(QStringLiteral("presets")).isArray()) {
        return std::nullopt;
    }
    std::vector<Preset> presets;
    for (const QJsonValue entry : root.value(QStringLiteral("presets")).toArray()) {
        const QString name = entry.toObject().value(QStringLiteral("name")).toString().trimmed();
        const DecodedSheetCode code =
            DecodeSheetCode(ToU16(entry.toObject().value(QStringLiteral("recipe")).toString()));
        if (name.isEmpty() || !code.recipe || code.recipe->parts.empty()) {
            return std::nullopt;
        }
        presets.push_back({OwnPresetTerm(), name, code.recipe->parts, code.recipe->mixed});
    }
    return presets;
}

QByteArray Serialize(const std::vector<Preset>& presets)
{
    QJsonArray list;
    for (const Preset& preset : presets) {
        const SheetSpec recipe{preset.parts, 0, preset.mixed};
        list.append(QJsonObject{{QStringLiteral("name"), preset.name},
                                {QStringLiteral("recipe"), ToQString(EncodeSheetCode(recipe))}});
    }
    const QJsonObject root{{QStringLiteral("format"), Format},
                           {QStringLiteral("version"), Version},
                           {QStringLiteral("presets"), list}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

enum class Reading : std::int8_t { Missing, Read, Unreadable };

Reading ReadBytes(const QString& path, QByteArray& bytes)
{
    QFile file(path);
    if (!file.exists()) {
        return Reading::Missing;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return Reading::Unreadable;
    }
    bytes = file.read(LargestFile + 1);
    return Reading::Read;
}

} // namespace

QString OwnPresetTerm()
{
    return QStringLiteral("我的设置");
}

QString DefaultOwnPresetsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/sumvarl/own-presets.json");
}

PresetFile ReadPresetFile(const QString& path)
{
    PresetFile file;
    QByteArray bytes;
    switch (ReadBytes(path, bytes)) {
    case Reading::Missing:
    case Reading::Unreadable:
        file.state = PresetFileState::Failed;
        return file;
    case Reading::Read:
        break;
    }
    std::optional<std::vector<Preset>> presets =
        bytes.size() > LargestFile ? std::nullopt : Parse(bytes);
    if (!presets) {
        file.state = PresetFileState::Damaged;
        return file;
    }
    file.presets = std::move(*presets);
    return file;
}

PresetFile LoadOwnPresets(const QString& path, const QDateTime& now)
{
    PresetFile file;
    QByteArray bytes;
    switch (ReadBytes(path, bytes)) {
    case Reading::Missing:
        return file;
    case Reading::Unreadable:
        file.state = PresetFileState::Failed;
        return file;
    case Reading::Read:
        break;
    }
    std::optional<std::vector<Preset>> presets =
        bytes.size() > LargestFile ? std::nullopt : Parse(bytes);
    if (presets) {
        file.presets = std::move(*presets);
        return file;
    }
    // Set aside, so that the next save starts a new file and this one stays for whoever wants
    // to look at it: own-presets-damaged-2026-12-09-081500.json.
    const QFileInfo info(path);
    const QString aside = info.absoluteDir().filePath(
        QStringLiteral("%1-damaged-%2.%3")
            .arg(info.completeBaseName(), now.toString(QStringLiteral("yyyy-MM-dd-HHmmss")),
                 info.suffix()));
    file.state = QFile::rename(path, aside) ? PresetFileState::Damaged : PresetFileState::Failed;
    file.setAsideTo = file.state == PresetFileState::Damaged ? aside : QString();
    return file;
}

QString WritePresetFile(const QString& path, const std::vector<Preset>& presets)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return QStringLiteral("不能建立文件夹 %1").arg(QFileInfo(path).absolutePath());
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    const QByteArray bytes = Serialize(presets);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        return file.errorString();
    }
    return {};
}

QString FreePresetName(const QString& name, const std::vector<Preset>& presets)
{
    const auto taken = [&](const QString& candidate) {
        return std::any_of(presets.begin(), presets.end(),
                           [&](const Preset& p) { return p.name == candidate; });
    };
    QString candidate = name;
    for (int n = 2; taken(candidate); ++n) {
        candidate = QStringLiteral("%1 (%2)").arg(name).arg(n);
    }
    return candidate;
}

QString DamagedOwnPresetsText(const QString& setAsideTo)
{
    return QStringLiteral("“我的设置”的文件已经损坏，读不出来。它已改名为\n%1\n保留着；"
                          "以后保存的设置会写进一个新文件。")
        .arg(QDir::toNativeSeparators(setAsideTo));
}

QString UnreadableOwnPresetsText(const QString& path)
{
    return QStringLiteral("“我的设置”的文件 %1 读不出来，也没能改名。"
                          "为了不覆盖它，这次不能保存“我的设置”。")
        .arg(QDir::toNativeSeparators(path));
}

QString NotAPresetFileText(const QString& path)
{
    return QStringLiteral("%1 不是 Sumvarl 导出的设置文件，或者已经损坏，没有导入。")
        .arg(QDir::toNativeSeparators(path));
}

QString PresetsNotSavedText(const QString& reason)
{
    return QStringLiteral("设置没有保存：%1").arg(reason);
}

} // namespace sumvarl
