#pragma once

#include "report/reporttemplate.h"

#include <QStringList>

#include <memory>

// The register's title page "Frontespizio Quorvel", on the whole A4 sheet:
// the association in a blue header, the register's number, four fields of
// the association's data, the total of members, the two signatures.
namespace TitleReport {

std::unique_ptr<Report::Template> create();

// The ten values in the order they are filled (and kept in Quorvel.ini);
// each is the name of the window's box and of the template's text.
const QStringList &valueNames();

} // namespace TitleReport
