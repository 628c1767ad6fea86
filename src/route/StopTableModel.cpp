#include "StopTableModel.h"

#include "HepburnRomanizer.h"
#include "formats/CsvReader.h"

#include <QColor>
#include <QDataStream>
#include <QFont>
#include <QIODevice>
#include <QMimeData>

#include <algorithm>
#include <cmath>

namespace {

const QString RowsMimeType = QStringLiteral("application/x-tavelo-stop-rows");

// Digits typed full-width (１．５) read as the half-width ones.
QString plainNumber(const QString &text)
{
    return text.normalized(QString::NormalizationForm_KC).trimmed();
}

const QString English = QStringLiteral("en");

// A stop without an English name of its own gets the rules' one from its
// reading, and keeps it in step with the name and the reading.
void followReading(RouteStop &stop)
{
    if (!stop.englishFromReading && stop.names.contains(English)) {
        return;
    }
    const QString english = HepburnRomanizer().stopName(stop.name, stop.reading);
    stop.englishFromReading = !english.isEmpty();
    if (english.isEmpty()) {
        stop.names.remove(English);
    } else {
        stop.names.insert(English, english);
    }
}

bool setTextField(RouteStop &stop, int column, const QString &value)
{
    switch (column) {
    case StopTableModel::NameColumn:
        stop.name = value;
        break;
    case StopTableModel::ReadingColumn:
        stop.reading = value;
        break;
    case StopTableModel::EnglishColumn:
        // Typed over, the name is the author's; cleared, the rules make one.
        stop.names.remove(English);
        stop.englishFromReading = false;
        if (!value.isEmpty()) {
            stop.names.insert(English, value);
        }
        break;
    default:
        return false;
    }
    followReading(stop);
    return true;
}

// One field of a stop from text; false with the reason.
bool setField(RouteStop &stop, int column, const QString &text, QString &error)
{
    // A cell wrapped over lines in a spreadsheet is one line on the strip.
    QString value = text;
    value.remove(u'\r').remove(u'\n').replace(u'\t', u' ');
    value = value.trimmed();
    if (setTextField(stop, column, value)) {
        return true;
    }
    switch (column) {
    case StopTableModel::ZoneColumn:
        stop.zone = value;
        return true;
    case StopTableModel::KmColumn: {
        if (value.isEmpty()) {
            stop.distanceTenths.reset();
            return true;
        }
        bool ok = false;
        const double km = plainNumber(value).toDouble(&ok);
        const double tenths = km * 10;
        if (!ok || km < 0 || km > 100000 || std::abs(tenths - std::round(tenths)) > 1e-6) {
            error = QStringLiteral("キロ「%1」は 0 以上、0.1 km 単位の数ではありません").arg(value);
            return false;
        }
        stop.distanceTenths = static_cast<int>(std::lround(tenths));
        return true;
    }
    case StopTableModel::TicketColumn: {
        if (value.isEmpty()) {
            stop.ticket.reset();
            return true;
        }
        bool ok = false;
        const int ticket = plainNumber(value).toInt(&ok);
        if (!ok || ticket < 0 || ticket > 32767) {
            error = QStringLiteral("券番号「%1」は 0～32767 の整数ではありません").arg(value);
            return false;
        }
        stop.ticket = ticket;
        return true;
    }
    case StopTableModel::SoundColumn:
        for (const RouteStop::Sound sound : {RouteStop::Sound::Ordinary, RouteStop::Sound::Major, RouteStop::Sound::Terminal}) {
            if (value == StopTableModel::soundCaption(sound) || plainNumber(value) == QString::number(static_cast<int>(sound))) {
                stop.sound = sound;
                return true;
            }
        }
        error = QStringLiteral("音「%1」は 通常、主要、終点（1～3）のどれでもありません").arg(value);
        return false;
    default:
        return false;
    }
}

// A table copied from a spreadsheet: a line a row, a tab between cells, and
// a cell that holds a tab, a line break or a quote quoted as RFC 4180 has
// it, read by the one CSV reader.
QList<QStringList> tabSeparatedLines(const QString &text, QString &error)
{
    CsvReader::Options options;
    options.separator = u'\t';
    CsvReader reader(text, options);
    QList<QStringList> lines;
    while (!reader.atEnd()) {
        const CsvReader::Record record = reader.next();
        if (record.problem != CsvReader::Problem::None) {
            error = QStringLiteral("貼り付けの %1 行目: 引用符（\"）で囲んだセルが正しく閉じていません").arg(record.line);
            return {};
        }
        lines << record.fields;
    }
    // Blank lines after the table are no stops.
    while (!lines.isEmpty() && lines.last().size() == 1 && lines.last().first().trimmed().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

} // namespace

StopTableModel::StopTableModel(RouteDocument *document, QObject *parent)
    : QAbstractTableModel(parent)
    , m_document(document)
{
    connect(document, &RouteDocument::aboutToChange, this, &StopTableModel::onAboutToChange);
    connect(document, &RouteDocument::stopsChanged, this, &StopTableModel::onStopsChanged);
    connect(document, &RouteDocument::changed, this, &StopTableModel::onChanged);
    remember();
}

QString StopTableModel::soundCaption(RouteStop::Sound sound)
{
    switch (sound) {
    case RouteStop::Sound::Ordinary:
        return QStringLiteral("通常");
    case RouteStop::Sound::Major:
        return QStringLiteral("主要");
    case RouteStop::Sound::Terminal:
        return QStringLiteral("終点");
    }
    return {};
}

int StopTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_document->source().stops.size());
}

int StopTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant StopTableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const int row = index.row();
    const RouteStop &stop = m_document->source().stops[static_cast<size_t>(row)];
    const bool display = role == Qt::DisplayRole;
    const bool edit = role == Qt::EditRole;
    switch (index.column()) {
    case NameColumn:
        if (display || edit) {
            return stop.name;
        }
        if (role == NameFitsRole) {
            return m_document->nameProblem(row + 1).isEmpty();
        }
        if (role == NameProblemRole || role == Qt::ToolTipRole) {
            return m_document->nameProblem(row + 1);
        }
        if (role == UnfitCharacterRole) {
            return m_document->firstUnfitCharacter(stop.name);
        }
        break;
    case ReadingColumn:
        if (display || edit) {
            return stop.reading;
        }
        break;
    case KmColumn:
        if (display || edit) {
            return stop.distanceTenths ? QString::number(*stop.distanceTenths / 10.0, 'f', 1) : QString();
        }
        break;
    case ZoneColumn:
        if (display || edit) {
            return stop.zone;
        }
        break;
    case TicketColumn:
        if (display) {
            return m_document->board().tickets()[static_cast<size_t>(row)];
        }
        if (edit) {
            return stop.ticket ? QString::number(*stop.ticket) : QString();
        }
        if (role == TicketGeneratedRole) {
            return !stop.ticket.has_value();
        }
        break;
    case SoundColumn:
        if (display) {
            return soundCaption(stop.sound);
        }
        if (edit) {
            return static_cast<int>(stop.sound);
        }
        break;
    case EnglishColumn:
        if (display || edit) {
            return stop.names.value(English);
        }
        if (role == EnglishFromReadingRole) {
            return stop.englishFromReading;
        }
        if (stop.englishFromReading) {
            if (role == Qt::ForegroundRole) {
                return QColor(Qt::darkGray);
            }
            if (role == Qt::FontRole) {
                QFont font;
                font.setItalic(true);
                return font;
            }
            if (role == Qt::ToolTipRole) {
                return QStringLiteral("読みから作成（ローマ字の規則による）。入力すると、その名前になります。");
            }
        }
        break;
    default:
        break;
    }
    return {};
}

QVariant StopTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Vertical) {
        return section + 1;
    }
    static const QStringList captions{QStringLiteral("停留所名"), QStringLiteral("読み"), QStringLiteral("キロ"),
                                      QStringLiteral("ゾーン"),   QStringLiteral("券番号"), QStringLiteral("音"),
                                      QStringLiteral("英語")};
    return captions.value(section);
}

Qt::ItemFlags StopTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid()) {
        return Qt::ItemIsDropEnabled;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled;
}

bool StopTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return false;
    }
    RouteStop stop = m_document->source().stops[static_cast<size_t>(index.row())];
    QString error;
    if (!setField(stop, index.column(), value.toString(), error)) {
        emit inputRefused(error);
        return false;
    }
    m_document->setStop(index.row(), stop);
    return true;
}

bool StopTableModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || row > rowCount() || count <= 0) {
        return false;
    }
    m_document->insertStops(row, std::vector<RouteStop>(static_cast<size_t>(count)));
    return true;
}

bool StopTableModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount()) {
        return false;
    }
    m_document->removeStops(row, count);
    return true;
}

bool StopTableModel::moveRows(const QModelIndex &sourceParent, int sourceRow, int count,
                              const QModelIndex &destinationParent, int destinationChild)
{
    const int rows = rowCount();
    if (sourceParent.isValid() || destinationParent.isValid() || sourceRow < 0 || count <= 0
        || sourceRow + count > rows || destinationChild < 0 || destinationChild > rows
        || (destinationChild >= sourceRow && destinationChild <= sourceRow + count)) {
        return false;
    }
    m_document->moveStops(sourceRow, count, destinationChild);
    return true;
}

Qt::DropActions StopTableModel::supportedDropActions() const
{
    return Qt::MoveAction;
}

QStringList StopTableModel::mimeTypes() const
{
    return {RowsMimeType};
}

QMimeData *StopTableModel::mimeData(const QModelIndexList &indexes) const
{
    QList<int> rows;
    for (const QModelIndex &index : indexes) {
        if (index.isValid() && !rows.contains(index.row())) {
            rows << index.row();
        }
    }
    std::sort(rows.begin(), rows.end());
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << rows;
    auto *mime = new QMimeData;
    mime->setData(RowsMimeType, bytes);
    return mime;
}

bool StopTableModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int, const QModelIndex &parent)
{
    if (action != Qt::MoveAction || !data || !data->hasFormat(RowsMimeType)) {
        return false;
    }
    QList<int> rows;
    QDataStream stream(data->data(RowsMimeType));
    stream >> rows;
    // Only a block of neighbouring rows moves as one.
    if (rows.isEmpty() || rows.last() - rows.first() + 1 != rows.size()) {
        return false;
    }
    const int to = row >= 0 ? row : parent.isValid() ? parent.row() : rowCount();
    moveRows({}, rows.first(), static_cast<int>(rows.size()), {}, to);
    // Done here: a view that sees the drop accepted would remove the rows.
    return false;
}

bool StopTableModel::paste(int row, int column, const QString &text, bool insert, QString &error)
{
    error.clear();
    QList<QStringList> lines = tabSeparatedLines(text, error);
    if (!error.isEmpty()) {
        return false;
    }
    // A table copied with its heading line: the heading is not a stop.
    if (!lines.isEmpty() && lines.first().value(0).trimmed() == headerData(column, Qt::Horizontal).toString()) {
        lines.removeFirst();
    }
    const int rows = rowCount();
    if (lines.isEmpty() || row < 0 || row > rows || column < 0 || column >= ColumnCount) {
        error = QStringLiteral("貼り付ける行がありません");
        return false;
    }
    std::vector<RouteStop> stops;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int at = row + static_cast<int>(i);
        RouteStop stop = !insert && at < rows ? m_document->source().stops[static_cast<size_t>(at)] : RouteStop();
        const QStringList &fields = lines.at(i);
        for (qsizetype f = 0; f < fields.size() && column + f < ColumnCount; ++f) {
            QString why;
            if (!setField(stop, column + static_cast<int>(f), fields.at(f), why)) {
                error = QStringLiteral("貼り付けの %1 行目, %2 列目: %3").arg(i + 1).arg(f + 1).arg(why);
                return false;
            }
        }
        stops.push_back(stop);
    }
    if (insert) {
        m_document->insertStops(row, stops);
    } else {
        m_document->replaceStops(row, stops, QStringLiteral("貼り付け"));
    }
    return true;
}

void StopTableModel::onAboutToChange(const RouteChange &change)
{
    const QModelIndex none;
    switch (change.kind) {
    case RouteChange::Kind::Reset:
        beginResetModel();
        break;
    case RouteChange::Kind::Inserted:
        beginInsertRows(none, change.first, change.first + change.count - 1);
        break;
    case RouteChange::Kind::Removed:
        beginRemoveRows(none, change.first, change.first + change.count - 1);
        break;
    case RouteChange::Kind::Moved:
        beginMoveRows(none, change.first, change.first + change.count - 1, none, change.to);
        break;
    case RouteChange::Kind::Edited:
    case RouteChange::Kind::Other:
        break;
    }
}

void StopTableModel::onStopsChanged(const RouteChange &change)
{
    switch (change.kind) {
    case RouteChange::Kind::Reset:
        endResetModel();
        break;
    case RouteChange::Kind::Inserted:
        endInsertRows();
        break;
    case RouteChange::Kind::Removed:
        endRemoveRows();
        break;
    case RouteChange::Kind::Moved:
        endMoveRows();
        break;
    case RouteChange::Kind::Edited:
        emit dataChanged(index(change.first, 0), index(change.first + change.count - 1, ColumnCount - 1));
        break;
    case RouteChange::Kind::Other:
        break;
    }
}

void StopTableModel::onChanged()
{
    // Ticket numbers follow the rule and the other stops, and a name's
    // problems the whole route: tell the views of the rows whose changed.
    const std::vector<int> &tickets = m_document->board().tickets();
    const int rows = rowCount();
    for (int row = 0; row < rows && row < static_cast<int>(m_tickets.size()); ++row) {
        if (m_tickets[static_cast<size_t>(row)] != tickets[static_cast<size_t>(row)]) {
            emit dataChanged(index(row, TicketColumn), index(row, TicketColumn));
        }
        if (m_nameProblems[static_cast<size_t>(row)] != m_document->nameProblem(row + 1)) {
            emit dataChanged(index(row, NameColumn), index(row, NameColumn));
        }
    }
    remember();
}

void StopTableModel::remember()
{
    m_tickets = m_document->board().tickets();
    const int rows = rowCount();
    m_nameProblems.assign(static_cast<size_t>(rows), QString());
    for (int row = 0; row < rows; ++row) {
        m_nameProblems[static_cast<size_t>(row)] = m_document->nameProblem(row + 1);
    }
}
