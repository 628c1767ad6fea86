#pragma once

#include "TicketDescription.h"

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>

#include <optional>

// One reason a description is refused: where in it ("$.elements[2].box")
// and why.
struct DescriptionProblem
{
    QString path;
    QString why;
};

// Reads a ticket description (.4SP: JSON in UTF-8) strictly: every key must
// be known, every value of its kind and within its limits, so that a file
// cannot make the drawing read other files, run anything or take unbounded
// memory or time. A description with any problem is refused as a whole.
class TicketDescriptionReader
{
public:
    // Limits that keep a description small and its drawing quick.
    static constexpr qint64 MaxFileBytes = 64 * 1024;
    static constexpr int MaxElements = 100;
    static constexpr int MaxTextLength = 200;
    static constexpr int MaxCommentLength = 1000;
    static constexpr int MaxCompanies = 16;
    static constexpr int MaxCompanyLength = 40;
    static constexpr int MaxBarcodeDigits = 24;
    static constexpr int MinTicketSide = 20;
    static constexpr int MaxTicketSide = 1000;

    // Reads the file at `path`. Nothing when it is refused; the problems go
    // to `problems` when given.
    static std::optional<TicketDescription> readFile(const QString &path,
                                                     QList<DescriptionProblem> *problems = nullptr);
    static std::optional<TicketDescription> parse(const QByteArray &json,
                                                  QList<DescriptionProblem> *problems = nullptr);

private:
    TicketDescriptionReader() = default;

    std::optional<TicketDescription> read(const QByteArray &json);
    void readTicket(const QJsonObject &root, TicketDescription &ticket);
    std::optional<TicketElement> readElement(const QJsonValue &value, const QString &path, QSize ticket);
    TicketText readText(const QJsonObject &object, const QString &path, QSize ticket);
    TicketLine readLine(const QJsonObject &object, const QString &path, QSize ticket);
    TicketRectangle readRectangle(const QJsonObject &object, const QString &path, QSize ticket);
    TicketBarcode readBarcode(const QJsonObject &object, const QString &path, QSize ticket);
    QList<TicketBarcode::Part> readBarcodeData(const QJsonValue &value, const QString &path);

    // Each reports a problem and gives a harmless value when the key is
    // missing (unless optional) or its value is wrong.
    void knownKeys(const QJsonObject &object, const QString &path, const QStringList &keys);
    std::optional<QJsonValue> member(const QJsonObject &object, const QString &path, const QString &key,
                                     bool optional);
    int integer(const QJsonObject &object, const QString &path, const QString &key, int min, int max,
                std::optional<int> fallback = std::nullopt);
    QString string(const QJsonObject &object, const QString &path, const QString &key, int maxLength,
                   std::optional<QString> fallback = std::nullopt);
    bool boolean(const QJsonObject &object, const QString &path, const QString &key, bool fallback);
    QString choice(const QJsonObject &object, const QString &path, const QString &key, const QStringList &choices,
                   const QString &fallback);
    QColor color(const QJsonObject &object, const QString &path, const QString &key, const QColor &fallback);
    QRect box(const QJsonObject &object, const QString &path, const QString &key, QSize ticket);
    QPoint point(const QJsonObject &object, const QString &path, const QString &key, QSize ticket);
    QList<int> integers(const QJsonValue &value, const QString &path, int count, int min, int max);

    void problem(const QString &path, const QString &why);

    QList<DescriptionProblem> m_problems;
};
