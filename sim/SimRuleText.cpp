#include "sim/SimRuleText.h"
#include <QList>
#include <QPair>
#include <QStringList>

bool ParseFaultRule(const QString &text, SimFaultRule *rule)
{
    static const QList<QPair<QString, SimFault>> kinds = {
        {"checksum", SimFault::CorruptChecksum}, {"noanswer", SimFault::NoAnswer}, {"delay", SimFault::Delay},
        {"refuse", SimFault::Refuse},           {"fewer", SimFault::FewerFields},  {"garbage", SimFault::Garbage},
        {"bytewise", SimFault::ByteByByte},     {"busy", SimFault::BusyForever},   {"badclock", SimFault::BadClock},
        {"hangup", SimFault::HangUp},           {"damageall", SimFault::DamageAll}, {"late", SimFault::LateAnswer},
        {"dropmid", SimFault::DropMidFrame},     {"nak", SimFault::NakRequest},     {"chatter", SimFault::Chatter},
        {"noise", SimFault::DamagedBefore},      {"holdrepeat", SimFault::HoldRepeat}};
    const QStringList p = text.split(QLatin1Char(':'));
    bool found = false;
    for (const auto &k : kinds)
        if (k.first == p.value(0).toLower()) {
            rule->fault = k.second;
            found = true;
        }
    if (!found)
        return false;
    const QString code = p.value(1, QStringLiteral("*")).toUpper();
    rule->code = code == QLatin1String("*") ? QByteArray() : code.toLatin1();
    rule->mode = 0;
    rule->nth = p.value(2, QStringLiteral("1")).toInt();
    const QString once = rule->fault == SimFault::DamageAll ? QStringLiteral("-1") : QStringLiteral("1");
    rule->times = p.value(3, once).toInt();
    rule->delayMs = p.value(4, QStringLiteral("0")).toInt();
    return rule->nth >= 1;
}
