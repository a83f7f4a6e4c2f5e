// TRuleValidator: lets a line edit take a new text (a paste, a cut, a drop, a typed key)
// only when a rule of the form allows it; a refused change leaves the edit as it was.
#pragma once
#include <QValidator>
#include <functional>

namespace halvern {

class TRuleValidator : public QValidator {
    Q_OBJECT
public:
    using TRule = std::function<bool(const QString& after)>;
    explicit TRuleValidator(TRule rule, QObject* parent = nullptr);
    State validate(QString& input, int& pos) const override;

private:
    TRule rule_;
};

} // namespace halvern
