#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// The 24 measured channels: a side letter (L, R) and a meridian code, e.g. "LLU" or "RST".
// Index 0..23 is the canonical order, the column order of TESTS; other orders (measuring grid,
// colour therapy, analysis pairs) must map to it by name, never by position.
class Channels
{
public:
    static constexpr int Count = 24;
    static constexpr int MeridianCount = 12;

    // "LLU", "LPC", ... "RST" in canonical order.
    static const QStringList &names();
    static QString name(int index);
    // Index of a channel name, case-insensitive; -1 when it is not one.
    static int indexOf(const QString &name);

    // The twelve meridian codes in the canonical column order (LU, PC, HT, SI, TH, LI, SP, LV,
    // KI, BL, GB, ST).
    static const QStringList &meridianCodes();
    static QString meridian(int index); // "LU" for LLU and RLU
    static QChar side(int index);       // 'L' or 'R'
    static bool isLeft(int index) { return index >= 0 && index < MeridianCount; }
    // The channel of a side and meridian; -1 for an unknown side or meridian.
    static int indexOf(QChar side, const QString &meridian);
    // The same meridian on the other side.
    static int mirror(int index);

    // Classical meridian number 1..12 (lung, large intestine, stomach, spleen, heart, small
    // intestine, bladder, kidney, pericardium, triple heater, gall bladder, liver); 0 when the
    // code is unknown. meridianOfNumber is its inverse (empty outside 1..12).
    static int classicalNumber(const QString &meridian);
    static QString meridianOfNumber(int number);
};
