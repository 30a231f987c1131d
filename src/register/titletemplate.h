#pragma once

#include "report/reporttemplate.h"

#include <QString>

#include <array>
#include <memory>

// The register's title page "Frontespizio Quorvel", on the whole A4 sheet:
// the association in a blue header, the register's number, four fields of
// the association's data, the total of members, the two signatures.
namespace TitleReport {

// The title page's ten values, in the order they are filled and kept in
// Quorvel.ini: each the name of the window's box and of the template's
// text, and its key in the file.
struct Value
{
    const char *name;
    const char *key;
};
inline constexpr int ValueCount = 10;
const std::array<Value, ValueCount> &values();

// A title page: its ten values in the order above.
using Values = std::array<QString, ValueCount>;

// Every value of the table has its text in the template.
std::unique_ptr<Report::Template> create();

// The template filled with a title page, blanks at the values' ends removed.
void fill(Report::Template &report, const Values &page);

} // namespace TitleReport
