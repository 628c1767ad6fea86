#include "Cp932PathValidator.h"

#include "formats/Cp932.h"

Cp932PathValidator::Cp932PathValidator(std::function<void(char32_t)> refused, QObject *parent)
    : QValidator(parent)
    , m_refused(std::move(refused))
{
}

QValidator::State Cp932PathValidator::validate(QString &input, int & /*pos*/) const
{
    if (const std::optional<char32_t> character = Cp932::firstUnencodable(input)) {
        m_refused(*character);
        return Invalid;
    }
    return Acceptable;
}
