#pragma once

#include "register/paginaregistro.h"

#include <QRect>
#include <QSize>

// Where the parts of a page slot stand, from the slot frame's top-left corner:
// the page window's slots and the instructions' picture of a filled slot are
// drawn from this one table.
namespace SlotLayout {

inline constexpr QSize Frame{468, 120};
inline constexpr QRect Photo{8, 8, 80, 104};
inline constexpr QRect ImportArrow{428, 8, 22, 22};

struct Line
{
    TSlotPagina::FieldId id;
    QRect geometry;
};
// The five lines, in keyboard and Enter order.
inline constexpr Line Lines[TSlotPagina::FieldCount] = {
    {TSlotPagina::fNome, {96, 8, 326, 22}},
    {TSlotPagina::fUM, {96, 36, 354, 22}},
    {TSlotPagina::fCaratteristiche, {96, 64, 354, 22}},
    {TSlotPagina::fCodice, {96, 92, 170, 22}},
    {TSlotPagina::fPrezzo, {280, 92, 170, 22}},
};

} // namespace SlotLayout
