#include "TicketDescriptionReader.h"

#include "Nw7Barcode.h"
#include "app/WholeFile.h"
#include "formats/JsonNumber.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

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
    case QJsonValue::Double: return QStringLiteral("数");
    case QJsonValue::String: return QStringLiteral("文字列");
    case QJsonValue::Array: return QStringLiteral("リスト");
    case QJsonValue::Object: return QStringLiteral("オブジェクト");
    default: return QStringLiteral("値なし");
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
        reader.problem(QStringLiteral("$"), QStringLiteral("読み込める普通のファイルではありません: %1").arg(path));
        break;
    case WholeFile::Problem::CannotOpen:
        reader.problem(QStringLiteral("$"), QStringLiteral("開けません（%1）").arg(file.errorString));
        break;
    case WholeFile::Problem::TooLarge:
        reader.problem(QStringLiteral("$"), QStringLiteral("ファイルが %1 バイトを超えています").arg(MaxFileBytes));
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
        reader.problem(QStringLiteral("$"), QStringLiteral("%1 バイトを超えています").arg(MaxFileBytes));
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
                QStringLiteral("%1 バイト目が JSON として正しくありません（%2）").arg(error.offset).arg(error.errorString()));
        return std::nullopt;
    }
    if (!document.isObject()) {
        problem(QStringLiteral("$"), QStringLiteral("全体がオブジェクト {...} でなければなりません"));
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
                QStringLiteral("「%1」は知らない形式です。\"%2\" と書いてください").arg(format, FormatName));
    }

    if (const auto size = member(root, path, QStringLiteral("size"), false)) {
        const QString sizePath = keyed(path, QStringLiteral("size"));
        if (!size->isObject()) {
            problem(sizePath, QStringLiteral("オブジェクト {\"width\": ..., \"height\": ...} でなければなりません"));
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
            problem(listPath, QStringLiteral("社名のリストでなければなりません"));
        } else if (list.size() > MaxCompanies) {
            problem(listPath, QStringLiteral("社名が %1 個あります（最大 %2 個）").arg(list.size()).arg(MaxCompanies));
        } else {
            for (qsizetype i = 0; i < list.size(); ++i) {
                const QString name = list.at(i).toString();
                if (!list.at(i).isString() || name.isEmpty() || name.size() > MaxCompanyLength) {
                    problem(indexed(listPath, i),
                            QStringLiteral("1～%1 文字の社名でなければなりません").arg(MaxCompanyLength));
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
        problem(listPath, QStringLiteral("要素が1つ以上あるリストでなければなりません"));
        return;
    }
    if (list.size() > MaxElements) {
        problem(listPath, QStringLiteral("要素が %1 個あります（最大 %2 個）").arg(list.size()).arg(MaxElements));
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
        problem(path, QStringLiteral("要素はオブジェクトでなければなりません（%1 です）").arg(kindOf(value)));
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
                QStringLiteral("知らない要素「%1」です（text, line, rect, barcode のどれか）").arg(type));
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
                QStringLiteral("\"narrow\" の2～3倍（%1～%2）でなければなりません")
                    .arg(2 * barcode.narrow)
                    .arg(3 * barcode.narrow));
    }
    for (const QString &key : {QStringLiteral("start"), QStringLiteral("stop")}) {
        if (!object.contains(key)) {
            continue;
        }
        if (barcode.symbology != TicketBarcode::Symbology::Nw7) {
            problem(keyed(path, key), QStringLiteral("スタート・ストップ文字があるのは NW-7 のバーコードだけです"));
            continue;
        }
        const QString letter = string(object, path, key, 1);
        if (letter.size() != 1 || !Nw7Barcode::isFrameLetter(letter.front())) {
            problem(keyed(path, key), QStringLiteral("\"A\", \"B\", \"C\", \"D\" のどれかでなければなりません"));
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
                QStringLiteral("%1 桁あります（バーコードに入るのは最大 %2 桁）").arg(digits).arg(MaxBarcodeDigits));
    } else if (digits > 0 && barcode.box.isValid() && barcode.barsWidth() > barcode.box.width()) {
        problem(keyed(path, QStringLiteral("box")),
                QStringLiteral("バーに %1 ピクセル要りますが、枠の幅は %2 ピクセルです")
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
        problem(path, QStringLiteral("1～%1 個の部分のリストでなければなりません").arg(MaxBarcodeDigits));
        return parts;
    }
    static const QRegularExpression digitsOnly(QRegularExpression::anchoredPattern(QStringLiteral("[0-9]+")));
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString partPath = indexed(path, i);
        if (!list.at(i).isObject()) {
            problem(partPath, QStringLiteral("部分はオブジェクトでなければなりません（%1 です）").arg(kindOf(list.at(i))));
            continue;
        }
        const QJsonObject object = list.at(i).toObject();
        TicketBarcode::Part part;
        if (object.contains(QLatin1String("fixed"))) {
            knownKeys(object, partPath, {"fixed"});
            part.fixedDigits = string(object, partPath, QStringLiteral("fixed"), MaxFieldDigits);
            if (!digitsOnly.match(part.fixedDigits).hasMatch()) {
                problem(keyed(partPath, QStringLiteral("fixed")),
                        QStringLiteral("数字 0～9 の 1～%1 桁でなければなりません").arg(MaxFieldDigits));
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
            problem(keyed(path, it.key()), QStringLiteral("知らないキーです（ここで使えるのは %1）").arg(keys.join(", ")));
        }
    }
}

std::optional<QJsonValue> TicketDescriptionReader::member(const QJsonObject &object, const QString &path,
                                                          const QString &key, bool optional)
{
    if (!object.contains(key)) {
        if (!optional) {
            problem(keyed(path, key), QStringLiteral("ありません"));
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
    const std::optional<int> number = JsonNumber::whole(*value, min, max);
    if (!number) {
        problem(keyed(path, key), QStringLiteral("%1～%2 の整数でなければなりません（%3 です）")
                                      .arg(min)
                                      .arg(max)
                                      .arg(value->isDouble() ? QString::number(value->toDouble()) : kindOf(*value)));
        return fallback.value_or(min);
    }
    return *number;
}

QString TicketDescriptionReader::string(const QJsonObject &object, const QString &path, const QString &key,
                                        int maxLength, std::optional<QString> fallback)
{
    const auto value = member(object, path, key, fallback.has_value());
    if (!value) {
        return fallback.value_or(QString());
    }
    if (!value->isString()) {
        problem(keyed(path, key), QStringLiteral("文字列でなければなりません（%1 です）").arg(kindOf(*value)));
        return fallback.value_or(QString());
    }
    const QString text = value->toString();
    if (text.size() > maxLength) {
        problem(keyed(path, key), QStringLiteral("%1 文字あります（最大 %2 文字）").arg(text.size()).arg(maxLength));
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
        problem(keyed(path, key), QStringLiteral("true か false でなければなりません（%1 です）").arg(kindOf(*value)));
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
                    QStringLiteral("「%1」は使えません（%2 のどれか）").arg(text, choices.join(QStringLiteral(", "))));
        }
        return fallback;
    }
    return text;
}

QColor TicketDescriptionReader::color(const QJsonObject &object, const QString &path, const QString &key,
                                      const QColor &fallback)
{
    static const QRegularExpression hex(QRegularExpression::anchoredPattern(QStringLiteral("#[0-9A-Fa-f]{6}")));
    const QString text = string(object, path, key, 7, QString());
    if (text.isEmpty()) {
        return fallback;
    }
    if (!hex.match(text).hasMatch()) {
        problem(keyed(path, key), QStringLiteral("色 \"#rrggbb\" でなければなりません"));
        return fallback;
    }
    return QColor(text);
}

QList<int> TicketDescriptionReader::integers(const QJsonValue &value, const QString &path, int count, int min,
                                             int max)
{
    const QJsonArray list = value.toArray();
    if (!value.isArray() || list.size() != count) {
        problem(path, QStringLiteral("%1 個の整数のリストでなければなりません").arg(count));
        return {};
    }
    QList<int> numbers;
    for (qsizetype i = 0; i < list.size(); ++i) {
        const std::optional<int> number = JsonNumber::whole(list.at(i), min, max);
        if (!number) {
            problem(indexed(path, i), QStringLiteral("%1～%2 の整数でなければなりません").arg(min).arg(max));
            return {};
        }
        numbers.append(*number);
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
        problem(boxPath, QStringLiteral("[左, 上, 幅, 高さ] が %1 × %2 の整理券に収まっていなければなりません")
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
        problem(pointPath, QStringLiteral("[x, y] が %1 × %2 の整理券の上になければなりません").arg(ticket.width()).arg(ticket.height()));
    }
    return QPoint(numbers[0], numbers[1]);
}

void TicketDescriptionReader::problem(const QString &path, const QString &why)
{
    m_problems.append(DescriptionProblem{path, why});
}
