#include "mdlIniIo.h"

#include "In4Format.h"
#include "SettingsLog.h"
#include "app/FileReplacement.h"
#include "formats/Cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

IniError fileError(int number, const QString &description, const QFileDevice &file)
{
    return {number, QStringLiteral("%1 (%2)").arg(description, file.errorString())};
}

} // namespace

mdlIniIo::mdlIniIo(SettingsLocation location) : m_location(std::move(location)) {}

mdlIniIo::ReadOutcome mdlIniIo::read()
{
    m_records.Degits.fill(DegitInfo{});
    ReadOutcome outcome = readFile(m_location.loadPath(), m_records);
    m_onDisk = m_records;
    return outcome;
}

std::optional<QString> mdlIniIo::keepReadFileBeforeSave()
{
    if (m_location.loadPath() != m_location.savePath()) {
        return std::nullopt;
    }
    m_keepBeforeSave = true;
    return backupPath(m_location.savePath());
}

std::optional<IniError> mdlIniIo::write()
{
    IniRecords writable = m_records;
    for (const In4Unwritable &field : In4Format::keepWritable(writable, m_onDisk)) {
        qCWarning(lcSettings).noquote() << QStringLiteral("%1: %2 has no Shift_JIS (CP932) form; the settings file "
                                                         "keeps the value it held")
                                               .arg(field.field, Cp932::codePointName(field.character));
    }
    const QString path = m_location.savePath();
    if (m_keepBeforeSave && QFileInfo::exists(path)) {
        const QString backup = backupPath(path);
        QFile::remove(backup);
        QFile old(path);
        if (!old.copy(backup)) {
            return fileError(IniError::PermissionDenied,
                             QStringLiteral("読み込めなかった設定ファイルを %1 として残せないため、保存しません。")
                                 .arg(QDir::toNativeSeparators(backup)),
                             old);
        }
    }
    m_keepBeforeSave = false;
    if (std::optional<IniError> failed = writeFile(path, writable)) {
        return failed;
    }
    m_onDisk = writable;
    return std::nullopt;
}

QString mdlIniIo::backupPath(const QString &path)
{
    return path + QStringLiteral(".bak");
}

mdlIniIo::ReadOutcome mdlIniIo::readFile(const QString &path, IniRecords &records)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        return {};
    }
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        return {ReadStatus::Failed, fileError(IniError::PathFileAccess, QStringLiteral("パス名が無効です。"), file)};
    }
    // Bytes after the last block are ignored, so a huge file costs no more
    // memory than the longest settings.
    const QByteArray bytes = file.read(In4Format::maxUsedBytes());
    if (file.error() != QFileDevice::NoError) {
        return {ReadStatus::Failed, fileError(IniError::DeviceIo, QStringLiteral("デバイス I/O エラーです。"), file)};
    }
    In4Decoded decoded = In4Format::decode(bytes, records);
    records = std::move(decoded.records);
    if (!decoded.complete) {
        return {ReadStatus::Failed,
                {IniError::InputPastEnd, QStringLiteral("ファイルの終わりを越えて入力しようとしました。(%1、%2 バイト目)")
                                             .arg(decoded.missingField)
                                             .arg(decoded.missingAt)}};
    }
    return {ReadStatus::Read, {}};
}

std::optional<IniError> mdlIniIo::writeFile(const QString &path, const IniRecords &records)
{
    // The configuration folder may not exist before the first save.
    QDir().mkpath(QFileInfo(path).absolutePath());
    FileReplacement file;
    if (!file.add(path, In4Format::encode(records)) || !file.commit()) {
        if (file.problem() == FileReplacement::Problem::CannotWrite) {
            return IniError{IniError::DeviceIo, QStringLiteral("デバイス I/O エラーです。 (%1)").arg(file.errorString())};
        }
        // A link, a folder where the file goes, a folder we may not write in.
        return IniError{IniError::PermissionDenied, QStringLiteral("書き込みできません。 (%1)").arg(file.errorString())};
    }
    return std::nullopt;
}
