#include "ui/HelpTopics.h"
#include <QString>
#include <array>
#include <utility>

namespace halvern {

namespace {

// Topic number -> guide page. Each page marks a topic with the anchor "topic-N".
constexpr std::array<std::pair<int, const char*>, 44> kTopicPages{{
    {2, "general.html"},      {3, "general.html"},      {4, "general.html"},      {5, "general.html"},
    {7, "general.html"},      {8, "general.html"},      {9, "general.html"},      {10, "general.html"},
    {11, "general.html"},     {12, "general.html"},     {13, "general.html"},     {14, "general.html"},
    {15, "general.html"},     {21, "parameters.html"},  {22, "parameters.html"},  {23, "parameters.html"},
    {24, "parameters.html"},  {31, "flow.html"},        {32, "flow.html"},        {33, "flow.html"},
    {41, "parameters.html"},  {42, "parameters.html"},  {43, "parameters.html"},  {44, "parameters.html"},
    {45, "parameters.html"},  {53, "n1.html"},          {61, "current.html"},     {62, "current.html"},
    {63, "current.html"},     {71, "valves.html"},      {72, "valves.html"},      {73, "valves.html"},
    {81, "valves.html"},      {83, "valves.html"},      {84, "valves.html"},      {85, "valves.html"},
    {86, "valves.html"},      {90, "summary.html"},     {91, "summary.html"},     {92, "sensitivity.html"},
    {93, "sensitivity.html"}, {94, "sensitivity.html"}, {95, "sensitivity.html"}, {96, "sensitivity.html"},
}};

const QString kGuideRoot = QStringLiteral("qrc:/guide/");

} // namespace

QUrl HelpContentsUrl() {
    return QUrl(kGuideRoot + "index.html");
}

QUrl HelpTopicUrl(int topic) {
    for (const auto& [number, page] : kTopicPages)
        if (number == topic) return QUrl(kGuideRoot + page + "#topic-" + QString::number(topic));
    return {};
}

QList<int> HelpTopicNumbers() {
    QList<int> numbers;
    for (const auto& entry : kTopicPages)
        numbers << entry.first;
    return numbers;
}

} // namespace halvern
