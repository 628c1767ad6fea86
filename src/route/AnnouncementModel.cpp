#include "AnnouncementModel.h"

#include "RouteAnnouncements.h"

#include <QColor>

#include <utility>

AnnouncementModel::AnnouncementModel(RouteDocument *document, QObject *parent)
    : QAbstractTableModel(parent)
    , m_document(document)
    , m_shown(RouteAnnouncements::ofSource(document->source()))
    , m_shownEnglish(RouteAnnouncements::englishOfSource(document->source()))
{
    connect(document, &RouteDocument::changed, this, &AnnouncementModel::refresh);
}

int AnnouncementModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_shown.size());
}

int AnnouncementModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant AnnouncementModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    if (role == Qt::ForegroundRole || role == Qt::ToolTipRole) {
        // Announcements made from the stops follow them until edited.
        if (!RouteAnnouncements::areGenerated(m_document->source())) {
            return {};
        }
        return role == Qt::ForegroundRole
            ? QVariant(QColor(Qt::darkGray))
            : QVariant(QStringLiteral("停留所から作った放送文です（停留所に合わせて変わります）。編集すると、この路線の放送文になります。"));
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) {
        return {};
    }
    const TapeRecord &record = m_shown.at(index.row());
    switch (index.column()) {
    case TextColumn:
        return record.Text;
    case StepColumn:
        return static_cast<int>(record.StepFlag);
    case SoundColumn:
        return static_cast<int>(record.SoundFlag);
    case EnglishColumn:
        return m_shownEnglish.value(index.row());
    default:
        return {};
    }
}

QVariant AnnouncementModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Vertical) {
        return section + 1;
    }
    static const QStringList captions{QStringLiteral("放送文"), QStringLiteral("ステップ"), QStringLiteral("音"),
                                      QStringLiteral("英語")};
    return captions.value(section);
}

Qt::ItemFlags AnnouncementModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable : Qt::NoItemFlags;
}

bool AnnouncementModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return false;
    }
    QList<TapeRecord> records = RouteAnnouncements::ofSource(m_document->source());
    TapeRecord &record = records[index.row()];
    if (index.column() == EnglishColumn) {
        QStringList english = RouteAnnouncements::englishOfSource(m_document->source());
        const QString text = value.toString();
        if (text.contains(u'\n') || text.contains(u'\r')) {
            emit inputRefused(QStringLiteral("放送文は 1 行です（改行は入れられません）"));
            return false;
        }
        english[index.row()] = text;
        m_document->setAnnouncements(records, english, QStringLiteral("英語の放送文の編集"));
        return true;
    }
    if (index.column() == TextColumn) {
        // One announcement is one line of the file.
        const QString text = value.toString();
        if (text.contains(u'\n') || text.contains(u'\r')) {
            emit inputRefused(QStringLiteral("放送文は 1 行です（改行は入れられません）"));
            return false;
        }
        record.Text = text;
    } else {
        bool ok = false;
        const int flag = value.toString().normalized(QString::NormalizationForm_KC).trimmed().toInt(&ok);
        if (!ok || flag < -32768 || flag > 32767) {
            emit inputRefused(QStringLiteral("「%1」は -32768～32767 の整数ではありません").arg(value.toString()));
            return false;
        }
        (index.column() == StepColumn ? record.StepFlag : record.SoundFlag) = static_cast<qint16>(flag);
    }
    m_document->setAnnouncements(records, QStringLiteral("放送文の編集"));
    return true;
}

bool AnnouncementModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || row > rowCount() || count <= 0) {
        return false;
    }
    QList<TapeRecord> records = RouteAnnouncements::ofSource(m_document->source());
    // A new announcement steps the display, as most do.
    records.insert(row, count, TapeRecord{QString(), 1, 0});
    m_document->setAnnouncements(records, QStringLiteral("放送文の追加"));
    return true;
}

bool AnnouncementModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount()) {
        return false;
    }
    QList<TapeRecord> records = RouteAnnouncements::ofSource(m_document->source());
    records.remove(row, count);
    m_document->setAnnouncements(records, QStringLiteral("放送文の削除"));
    return true;
}

void AnnouncementModel::regenerate()
{
    m_document->regenerateAnnouncements();
}

void AnnouncementModel::refresh()
{
    const QList<TapeRecord> records = RouteAnnouncements::ofSource(m_document->source());
    const QStringList english = RouteAnnouncements::englishOfSource(m_document->source());
    const QStringList shownEnglish = std::exchange(m_shownEnglish, english);
    const qsizetype before = m_shown.size();
    const qsizetype after = records.size();
    // Rows inserted or removed in one place keep the views' other rows.
    qsizetype head = 0;
    while (head < before && head < after && m_shown.at(head) == records.at(head)) {
        ++head;
    }
    qsizetype tail = 0;
    while (tail < before - head && tail < after - head && m_shown.at(before - 1 - tail) == records.at(after - 1 - tail)) {
        ++tail;
    }
    if (after > before && head + tail == before) {
        beginInsertRows({}, static_cast<int>(head), static_cast<int>(head + after - before - 1));
        m_shown = records;
        endInsertRows();
    } else if (after < before && head + tail == after) {
        beginRemoveRows({}, static_cast<int>(head), static_cast<int>(head + before - after - 1));
        m_shown = records;
        endRemoveRows();
    } else if (after != before) {
        beginResetModel();
        m_shown = records;
        endResetModel();
    } else {
        const QList<TapeRecord> shown = std::exchange(m_shown, records);
        for (qsizetype i = 0; i < after; ++i) {
            if (shown.at(i) != records.at(i) || shownEnglish.value(i) != english.at(i)) {
                emit dataChanged(index(static_cast<int>(i), 0), index(static_cast<int>(i), ColumnCount - 1));
            }
        }
    }
}
