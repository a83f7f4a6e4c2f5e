#include "ui/RuleValidator.h"

namespace halvern {

TRuleValidator::TRuleValidator(TRule rule, QObject* parent) : QValidator(parent), rule_(std::move(rule)) {}

QValidator::State TRuleValidator::validate(QString& input, int&) const {
    return !rule_ || rule_(input) ? Acceptable : Invalid;
}

} // namespace halvern
