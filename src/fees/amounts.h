#pragma once

#include <QString>

#include <optional>

// Sums of money as the fees ledger keeps them: whole euro cents.
namespace Amounts {

inline constexpr qint64 Largest = 1'000'000'00; // a million euro

enum class Problem { None, Empty, NotAnAmount, Negative, Zero, TooLarge };

struct Parsed
{
    std::optional<qint64> cents; // also for Zero, which may be confirmed
    Problem problem = Problem::None;
};

// "30", "30,00", "30.00", "30,5", "€ 30", "30 €", "30 euro", "1.250,00": euro
// with up to two decimals; blanks anywhere do not count.
Parsed parse(const QString &text);

// The user's message for a problem ("Attenzione: ..."); empty for None.
QString problemText(Problem problem);

// "30,00", "1.250,50".
QString figures(qint64 cents);

// The amount in Italian words, as a receipt writes it: "trenta/00 euro",
// "milleduecentocinquanta/50 euro".
QString words(qint64 cents);

} // namespace Amounts
