#pragma once
// The records by which an owner sets or reads one cell of a CGridCtrl, and the record that comes
// with the grid's notifications.

#include <QFont>
#include <QRect>
#include <QString>
#include <cstdint>

// Cell colours are 0x00RRGGBB; this value stands for the grid's default (taken from the palette).
using GridColour = std::uint32_t;
inline constexpr GridColour kGridDefaultColour = 0xFF000000;

// Which fields of a GridItem count.
enum GridItemMask : unsigned
{
    GIM_TEXT = 0x01,
    GIM_IMAGE = 0x02,
    GIM_PARAM = 0x04,
    GIM_STATE = 0x08,
    GIM_BKCOLOUR = 0x10,
    GIM_FGCOLOUR = 0x20,
    GIM_FORMAT = 0x40,
    GIM_FONT = 0x80,
};

// State bits of a cell.
enum GridCellState : unsigned
{
    GCS_FOCUSED = 0x01,
    GCS_SELECTED = 0x02,
    GCS_DROPHILITED = 0x04,
    GCS_READONLY = 0x08,
};

// Cell formats are Qt text flags; these are the two the pages use.
inline constexpr int kGridCentred = Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine;
inline constexpr int kGridCentredWrapped = Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap;

struct GridItem
{
    int row = 0;
    int col = 0;
    unsigned mask = 0;
    unsigned state = 0;
    int format = kGridCentred;
    QString text;
    int image = -1;
    GridColour bkColour = kGridDefaultColour;
    GridColour fgColour = kGridDefaultColour;
    std::intptr_t param = 0;
    QFont font; // read back: the cell's own font, else the grid's
};

// Notification codes, carried in GridNotify::code.
inline constexpr int kGridBeginEdit = -105;
inline constexpr int kGridFocusLeaving = -104;
inline constexpr int kGridFocusChanged = -103;

struct GridNotify
{
    int code = 0;
    GridItem item; // every field of the cell concerned
    QRect rect;    // the cell, in the coordinates of the grid's parent widget
};
