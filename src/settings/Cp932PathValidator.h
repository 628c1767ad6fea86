#pragma once

#include <QValidator>

#include <functional>

// Keeps a path field to what the settings file can hold: a typed or pasted
// character without a Shift_JIS (CP932) form is refused, the field keeps its
// text, and `refused` hears which character it was.
class Cp932PathValidator : public QValidator
{
public:
    Cp932PathValidator(std::function<void(char32_t)> refused, QObject *parent);

    State validate(QString &input, int &pos) const override;

private:
    std::function<void(char32_t)> m_refused;
};
