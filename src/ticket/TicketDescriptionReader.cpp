#include "TicketDescriptionReader.h"

#include "Nw7Barcode.h"
#include "app/WholeFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

#include <cmath>

namespace {

const QString FormatName = QStringLiteral("tavelo-ticket/1");
constexpr int MaxFaceLength = 64;
constexpr int MinPixelSize = 4;
constexpr int MaxPixelSize = 300;
constexpr int MaxLineWidth = 20;
constexpr int MaxRadius = 100;
constexpr int MaxNarrow = 4;
constexpr int MaxFieldDigits = 10;

QString indexed(const QString &path, qsizetype index)
{
    return QStringLiteral("%1[%2]").arg(path).arg(index);
}

QString keyed(const QString &path, const QString &key)
{
    return path + QLatin1Char('.') + key;
}

QString kindOf(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null: return QStringLiteral("null");
    case QJsonValue::Bool: return QStringLiteral("true/false");
    case QJsonValue::Double: return QStringLiteral("a number");
    case QJsonValue::String: return QStringLiteral("a text");
    case QJsonValue::Array: return QStringLiteral("a list");
    case QJsonValue::Object: return QStringLiteral("an object");
    default: return QStringLiteral("nothing");
    }
}

} // namespace

std::optional<TicketDescription> TicketDescriptionReader::readFile(const QString &path,
                                                                   QList<DescriptionProblem> *problems)
{
    TicketDescriptionReader reader;
    const WholeFile::Contents file = WholeFile::read(path, MaxFileBytes);
    std::optional<TicketDescription> ticket;
    switch (file.problem) {
    case WholeFile::Problem::None:
        ticket = reader.read(file.bytes);
        break;
    case WholeFile::Problem::Missing:
    case WholeFile::Problem::NotAFile:
        reader.problem(QStringLiteral("$"), QStringLiteral("not a file that can be read: %1").arg(path));
        break;
    case WholeFile::Problem::CannotOpen:
        reader.problem(QStringLiteral("$"), QStringLiteral("cannot be opened: %1").arg(file.errorString));
        break;
    case WholeFile::Problem::TooLarge:
        reader.problem(QStringLiteral("$"), QStringLiteral("the file has more than %1 bytes").arg(MaxFileBytes));
        break;
    }
    if (problems) {
        *problems = reader.m_problems;
    }
    return ticket;
}

std::optional<TicketDescription> TicketDescriptionReader::parse(const QByteArray &json,
                                                                QList<DescriptionProblem> *problems)
{
    TicketDescriptionReader reader;
    if (json.size() > MaxFileBytes) {
        reader.problem(QStringLiteral("$"), QStringLiteral("more than %1 bytes").arg(MaxFileBytes));
    }
    std::optional<TicketDescription> ticket = reader.m_problems.isEmpty() ? reader.read(json) : std::nullopt;
    if (problems) {
        *problems = reader.m_problems;
    }
    return ticket;
}

std::optional<TicketDescription> TicketDescriptionReader::read(const QByteArray &json)
{
    // Editors on Windows like to start UTF-8 with a byte order mark.
    const QByteArray bom("\xEF\xBB\xBF");
    const QByteArray text = json.startsWith(bom) ? json.mid(bom.size()) : json;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError) {
        problem(QStringLiteral("$"),
                QStringLiteral("not valid JSON at byte %1: %2").arg(error.offset).arg(error.errorString()));
        return std::nullopt;
    }
    if (!document.isObject()) {
        problem(QStringLiteral("$"), QStringLiteral("the description must be an object {...}"));
        return std::nullopt;
    }
    TicketDescription ticket;
    readTicket(document.object(), ticket);
    if (!m_problems.isEmpty()) {
        return std::nullopt;
    }
    return ticket;
}

void TicketDescriptionReader::readTicket(const QJsonObject &root, TicketDescription &ticket)
{
    const QString path = QStringLiteral("$");
    knownKeys(root, path, {"format", "size", "comment", "companies", "elements"});
    const QString format = string(root, path, QStringLiteral("format"), MaxTextLength);
    if (root.contains(QLatin1String("format")) && root.value(QLatin1String("format")).isString()
        && format != FormatName) {
        problem(keyed(path, QStringLiteral("format")),
                QStringLiteral("\"%1\" is not a known format; write \"%2\"").arg(format, FormatName));
    }

    if (const auto size = member(root, path, QStringLiteral("size"), false)) {
        const QString sizePath = keyed(path, QStringLiteral("size"));
        if (!size->isObject()) {
            problem(sizePath, QStringLiteral("must be an object {\"width\": ..., \"height\": ...}"));
        } else {
            const QJsonObject object = size->toObject();
            knownKeys(object, sizePath, {"width", "height"});
            ticket.size = QSize(integer(object, sizePath, QStringLiteral("width"), MinTicketSide, MaxTicketSide),
                                integer(object, sizePath, QStringLiteral("height"), MinTicketSide, MaxTicketSide));
        }
    }
    ticket.comment = string(root, path, QStringLiteral("comment"), MaxCommentLength, QString());

    if (const auto companies = member(root, path, QStringLiteral("companies"), true)) {
        const QString listPath = keyed(path, QStringLiteral("companies"));
        const QJsonArray list = companies->toArray();
        if (!companies->isArray()) {
            problem(listPath, QStringLiteral("must be a list of names"));
        } else if (list.size() > MaxCompanies) {
            problem(listPath, QStringLiteral("%1 companies; at most %2").arg(list.size()).arg(MaxCompanies));
        } else {
            for (qsizetype i = 0; i < list.size(); ++i) {
                const QString name = list.at(i).toString();
                if (!list.at(i).isString() || name.isEmpty() || name.size() > MaxCompanyLength) {
                    problem(indexed(listPath, i),
                            QStringLiteral("must be a name of 1 to %1 characters").arg(MaxCompanyLength));
                }
                ticket.companies.append(name);
            }
        }
    }

    const auto elements = member(root, path, QStringLiteral("elements"), false);
    if (!elements) {
        return;
    }
    const QString listPath = keyed(path, QStringLiteral("elements"));
    const QJsonArray list = elements->toArray();
    if (!elements->isArray() || list.isEmpty()) {
        problem(listPath, QStringLiteral("must be a list of at least one element"));
        return;
    }
    if (list.size() > MaxElements) {
        problem(listPath, QStringLiteral("%1 elements; at most %2").arg(list.size()).arg(MaxElements));
        return;
    }
    // Without a valid size the elements cannot be placed; check them
    // against the largest ticket so their own problems still show.
    const QSize bounds = ticket.size.isValid() ? ticket.size : QSize(MaxTicketSide, MaxTicketSide);
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (std::optional<TicketElement> element = readElement(list.at(i), indexed(listPath, i), bounds)) {
            ticket.elements.append(std::move(*element));
        }
    }
}

std::optional<TicketElement> TicketDescriptionReader::readElement(const QJsonValue &value, const QString &path,
                                                                  QSize ticket)
{
    if (!value.isObject()) {
        problem(path, QStringLiteral("an element must be an object, not %1").arg(kindOf(value)));
        return std::nullopt;
    }
    const QJsonObject object = value.toObject();
    const QString type = string(object, path, QStringLiteral("type"), MaxTextLength);
    if (type == QLatin1String("text")) {
        return readText(object, path, ticket);
    }
    if (type == QLatin1String("line")) {
        return readLine(object, path, ticket);
    }
    if (type == QLatin1String("rect")) {
        return readRectangle(object, path, ticket);
    }
    if (type == QLatin1String("barcode")) {
        return readBarcode(object, path, ticket);
    }
    if (object.value(QLatin1String("type")).isString()) {
        problem(keyed(path, QStringLiteral("type")),
                QStringLiteral("unknown element \"%1\" (text, line, rect, barcode)").arg(type));
    }
    return std::nullopt;
}

TicketText TicketDescriptionReader::readText(const QJsonObject &object, const QString &path, QSize ticket)
{
    knownKeys(object, path, {"type", "text", "box", "face", "size", "bold", "align", "valign", "color"});
    TicketText text;
    text.box = box(object, path, QStringLiteral("box"), ticket);
    const QString source = string(object, path, QStringLiteral("text"), MaxTextLength);
    QString why;
    if (std::optional<TicketTemplate> parsed = TicketTemplate::parse(source, why)) {
        text.text = *parsed;
    } else {
        problem(keyed(path, QStringLiteral("text")), why);
    }
    text.face = string(object, path, QStringLiteral("face"), MaxFaceLength, QStringLiteral("ＭＳ ゴシック"));
    text.pixelSize = integer(object, path, QStringLiteral("size"), MinPixelSize, MaxPixelSize);
    text.bold = boolean(object, path, QStringLiteral("bold"), false);
    const QString align = choice(object, path, QStringLiteral("align"), {"left", "center", "right"},
                                 QStringLiteral("center"));
    const QString valign = choice(object, path, QStringLiteral("valign"), {"top", "middle", "bottom"},
                                  QStringLiteral("middle"));
    text.alignment = (align == QLatin1String("left")    ? Qt::AlignLeft
                      : align == QLatin1String("right") ? Qt::AlignRight
                                                        : Qt::AlignHCenter)
        | (valign == QLatin1String("top")      ? Qt::AlignTop
           : valign == QLatin1String("bottom") ? Qt::AlignBottom
                                               : Qt::AlignVCenter);
    text.color = color(object, path, QStringLiteral("color"), Qt::black);
    return text;
}

TicketLine TicketDescriptionReader::readLine(const QJsonObject &object, const QString &path, QSize ticket)
{
    knownKeys(object, path, {"type", "from", "to", "width", "style", "color"});
    TicketLine line;
    line.from = point(object, path, QStringLiteral("from"), ticket);
    line.to = point(object, path, QStringLiteral("to"), ticket);
    line.width = integer(object, path, QStringLiteral("width"), 1, MaxLineWidth, 1);
    const QString style = choice(object, path, QStringLiteral("style"), {"solid", "dashed", "dotted"},
                                 QStringLiteral("solid"));
    line.style = style == QLatin1String("dashed")   ? Qt::DashLine
                 : style == QLatin1String("dotted") ? Qt::DotLine
                                                    : Qt::SolidLine;
    line.color = color(object, path, QStringLiteral("color"), Qt::black);
    return line;
}

TicketRectangle TicketDescriptionReader::readRectangle(const QJsonObject &object, const QString &path, QSize ticket)
{
    knownKeys(object, path, {"type", "box", "width", "radius", "color", "fill"});
    TicketRectangle rectangle;
    rectangle.box = box(object, path, QStringLiteral("box"), ticket);
    rectangle.width = integer(object, path, QStringLiteral("width"), 0, MaxLineWidth, 1);
    rectangle.radius = integer(object, path, QStringLiteral("radius"), 0, MaxRadius, 0);
    rectangle.color = color(object, path, QStringLiteral("color"), Qt::black);
    rectangle.fill = color(object, path, QStringLiteral("fill"), QColor());
    return rectangle;
}

TicketBarcode TicketDescriptionReader::readBarcode(const QJsonObject &object, const QString &path, QSize ticket)
{
    knownKeys(object, path,
              {"type", "symbology", "box", "data", "narrow", "wide", "start", "stop", "showDigits", "routeMode"});
    TicketBarcode barcode;
    const QString symbology = choice(object, path, QStringLiteral("symbology"), {"nw7", "itf"}, QString());
    barcode.symbology = symbology == QLatin1String("itf") ? TicketBarcode::Symbology::Itf
                                                          : TicketBarcode::Symbology::Nw7;
    barcode.box = box(object, path, QStringLiteral("box"), ticket);
    if (const auto data = member(object, path, QStringLiteral("data"), false)) {
        barcode.parts = readBarcodeData(*data, keyed(path, QStringLiteral("data")));
    }
    barcode.narrow = integer(object, path, QStringLiteral("narrow"), 1, MaxNarrow, 1);
    barcode.wide = integer(object, path, QStringLiteral("wide"), 2, 3 * MaxNarrow, 3);
    if (barcode.wide < 2 * barcode.narrow || barcode.wide > 3 * barcode.narrow) {
        problem(keyed(path, QStringLiteral("wide")),
                QStringLiteral("must be two to three times \"narrow\" (%1 to %2)")
                    .arg(2 * barcode.narrow)
                    .arg(3 * barcode.narrow));
    }
    for (const QString &key : {QStringLiteral("start"), QStringLiteral("stop")}) {
        if (!object.contains(key)) {
            continue;
        }
        if (barcode.symbology != TicketBarcode::Symbology::Nw7) {
            problem(keyed(path, key), QStringLiteral("only an NW-7 barcode has start and stop letters"));
            continue;
        }
        const QString letter = string(object, path, key, 1);
        if (letter.size() != 1 || !Nw7Barcode::isFrameLetter(letter.front())) {
            problem(keyed(path, key), QStringLiteral("must be one of \"A\", \"B\", \"C\", \"D\""));
        } else {
            (key == QLatin1String("start") ? barcode.start : barcode.stop) = letter.front();
        }
    }
    barcode.showDigits = boolean(object, path, QStringLiteral("showDigits"), false);
    barcode.sequentialRoute = choice(object, path, QStringLiteral("routeMode"), {"sequential", "routeAndDirection"},
                                     QStringLiteral("sequential"))
        == QLatin1String("sequential");

    const int digits = barcode.digitCount();
    if (digits > MaxBarcodeDigits) {
        problem(keyed(path, QStringLiteral("data")),
                QStringLiteral("%1 digits; a barcode carries at most %2").arg(digits).arg(MaxBarcodeDigits));
    } else if (digits > 0 && barcode.box.isValid() && barcode.barsWidth() > barcode.box.width()) {
        problem(keyed(path, QStringLiteral("box")),
                QStringLiteral("the bars need %1 pixels but the box is %2 wide")
                    .arg(barcode.barsWidth())
                    .arg(barcode.box.width()));
    }
    return barcode;
}

QList<TicketBarcode::Part> TicketDescriptionReader::readBarcodeData(const QJsonValue &value, const QString &path)
{
    QList<TicketBarcode::Part> parts;
    const QJsonArray list = value.toArray();
    if (!value.isArray() || list.isEmpty() || list.size() > MaxBarcodeDigits) {
        problem(path, QStringLiteral("must be a list of 1 to %1 parts").arg(MaxBarcodeDigits));
        return parts;
    }
    static const QRegularExpression digitsOnly(QStringLiteral("^[0-9]+$"));
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString partPath = indexed(path, i);
        if (!list.at(i).isObject()) {
            problem(partPath, QStringLiteral("a part must be an object, not %1").arg(kindOf(list.at(i))));
            continue;
        }
        const QJsonObject object = list.at(i).toObject();
        TicketBarcode::Part part;
        if (object.contains(QLatin1String("fixed"))) {
            knownKeys(object, partPath, {"fixed"});
            part.fixedDigits = string(object, partPath, QStringLiteral("fixed"), MaxFieldDigits);
            if (!digitsOnly.match(part.fixedDigits).hasMatch()) {
                problem(keyed(partPath, QStringLiteral("fixed")),
                        QStringLiteral("must be 1 to %1 digits 0-9").arg(MaxFieldDigits));
            }
        } else {
            knownKeys(object, partPath, {"field", "digits"});
            const QString name = choice(object, partPath, QStringLiteral("field"), {"route", "position", "number"},
                                        QString());
            part.field = TicketFields::fieldNamed(name);
            part.digits = integer(object, partPath, QStringLiteral("digits"), 1, MaxFieldDigits);
        }
        parts.append(part);
    }
    return parts;
}

void TicketDescriptionReader::knownKeys(const QJsonObject &object, const QString &path, const QStringList &keys)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!keys.contains(it.key())) {
            problem(keyed(path, it.key()), QStringLiteral("unknown key (known here: %1)").arg(keys.join(", ")));
        }
    }
}

std::optional<QJsonValue> TicketDescriptionReader::member(const QJsonObject &object, const QString &path,
                                                          const QString &key, bool optional)
{
    if (!object.contains(key)) {
        if (!optional) {
            problem(keyed(path, key), QStringLiteral("missing"));
        }
        return std::nullopt;
    }
    return object.value(key);
}

int TicketDescriptionReader::integer(const QJsonObject &object, const QString &path, const QString &key, int min,
                                     int max, std::optional<int> fallback)
{
    const auto value = member(object, path, key, fallback.has_value());
    if (!value) {
        return fallback.value_or(min);
    }
    const double number = value->toDouble(std::nan(""));
    if (!value->isDouble() || std::floor(number) != number || number < min || number > max) {
        problem(keyed(path, key), QStringLiteral("must be a whole number from %1 to %2, not %3")
                                      .arg(min)
                                      .arg(max)
                                      .arg(value->isDouble() ? QString::number(number) : kindOf(*value)));
        return fallback.value_or(min);
    }
    return int(number);
}

QString TicketDescriptionReader::string(const QJsonObject &object, const QString &path, const QString &key,
                                        int maxLength, std::optional<QString> fallback)
{
    const auto value = member(object, path, key, fallback.has_value());
    if (!value) {
        return fallback.value_or(QString());
    }
    if (!value->isString()) {
        problem(keyed(path, key), QStringLiteral("must be a text, not %1").arg(kindOf(*value)));
        return fallback.value_or(QString());
    }
    const QString text = value->toString();
    if (text.size() > maxLength) {
        problem(keyed(path, key), QStringLiteral("%1 characters; at most %2").arg(text.size()).arg(maxLength));
        return fallback.value_or(QString());
    }
    return text;
}

bool TicketDescriptionReader::boolean(const QJsonObject &object, const QString &path, const QString &key,
                                      bool fallback)
{
    const auto value = member(object, path, key, true);
    if (!value) {
        return fallback;
    }
    if (!value->isBool()) {
        problem(keyed(path, key), QStringLiteral("must be true or false, not %1").arg(kindOf(*value)));
        return fallback;
    }
    return value->toBool();
}

QString TicketDescriptionReader::choice(const QJsonObject &object, const QString &path, const QString &key,
                                        const QStringList &choices, const QString &fallback)
{
    const std::optional<QString> optional = fallback.isEmpty() ? std::nullopt : std::optional<QString>(fallback);
    const QString text = string(object, path, key, MaxTextLength, optional);
    if (!choices.contains(text)) {
        if (object.value(key).isString()) {
            problem(keyed(path, key),
                    QStringLiteral("\"%1\" is not one of: %2").arg(text, choices.join(QStringLiteral(", "))));
        }
        return fallback;
    }
    return text;
}

QColor TicketDescriptionReader::color(const QJsonObject &object, const QString &path, const QString &key,
                                      const QColor &fallback)
{
    static const QRegularExpression hex(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
    const QString text = string(object, path, key, 7, QString());
    if (text.isEmpty()) {
        return fallback;
    }
    if (!hex.match(text).hasMatch()) {
        problem(keyed(path, key), QStringLiteral("must be a colour \"#rrggbb\""));
        return fallback;
    }
    return QColor(text);
}

QList<int> TicketDescriptionReader::integers(const QJsonValue &value, const QString &path, int count, int min,
                                             int max)
{
    const QJsonArray list = value.toArray();
    if (!value.isArray() || list.size() != count) {
        problem(path, QStringLiteral("must be a list of %1 whole numbers").arg(count));
        return {};
    }
    QList<int> numbers;
    for (qsizetype i = 0; i < list.size(); ++i) {
        const double number = list.at(i).toDouble(std::nan(""));
        if (!list.at(i).isDouble() || std::floor(number) != number || number < min || number > max) {
            problem(indexed(path, i), QStringLiteral("must be a whole number from %1 to %2").arg(min).arg(max));
            return {};
        }
        numbers.append(int(number));
    }
    return numbers;
}

QRect TicketDescriptionReader::box(const QJsonObject &object, const QString &path, const QString &key, QSize ticket)
{
    const auto value = member(object, path, key, false);
    if (!value) {
        return {};
    }
    const QString boxPath = keyed(path, key);
    const QList<int> numbers = integers(*value, boxPath, 4, 0, MaxTicketSide);
    if (numbers.isEmpty()) {
        return {};
    }
    const QRect rect(numbers[0], numbers[1], numbers[2], numbers[3]);
    if (rect.isEmpty() || !QRect(QPoint(0, 0), ticket).contains(rect)) {
        problem(boxPath, QStringLiteral("[left, top, width, height] must lie on the %1 x %2 ticket")
                             .arg(ticket.width())
                             .arg(ticket.height()));
        return {};
    }
    return rect;
}

QPoint TicketDescriptionReader::point(const QJsonObject &object, const QString &path, const QString &key,
                                      QSize ticket)
{
    const auto value = member(object, path, key, false);
    if (!value) {
        return {};
    }
    const QString pointPath = keyed(path, key);
    const QList<int> numbers = integers(*value, pointPath, 2, 0, MaxTicketSide);
    if (numbers.isEmpty()) {
        return {};
    }
    if (numbers[0] > ticket.width() || numbers[1] > ticket.height()) {
        problem(pointPath, QStringLiteral("[x, y] must lie on the %1 x %2 ticket").arg(ticket.width()).arg(ticket.height()));
    }
    return QPoint(numbers[0], numbers[1]);
}

void TicketDescriptionReader::problem(const QString &path, const QString &why)
{
    m_problems.append(DescriptionProblem{path, why});
}
