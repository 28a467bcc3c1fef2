#include "workshop/WorkshopLayout.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "artwork/NeedleSheet.h"
#include "base/GaugeFacts.h"
#include "res/WorkshopControls.h"

namespace workshoplayout {
namespace {

using res::EWorkshopColumn;
using res::EWorkshopKind;
using res::SWorkshopControl;

constexpr int kListLeastLines = 6;
constexpr int kParagraphLeastChars = 30;

int Scaled(int pixels, double scale) {
    return static_cast<int>(std::lround(pixels * scale));
}

// Controls side by side on one line: a label and what it names.
struct SRow {
    std::vector<const SWorkshopControl*> controls;
    std::vector<SSize> natural;
    bool grows = false;
    int width = 0;   // natural, with the gaps
    int height = 0;  // least
};

std::vector<SRow> Rows(EWorkshopColumn column, const SMeasures& m, int gap) {
    std::vector<SRow> rows;
    for (const SWorkshopControl& c : res::WorkshopControls()) {
        if (c.column != column)
            continue;
        SSize size;
        switch (c.kind) {
            case EWorkshopKind::View:
                size = c.id == wsids::kPictureView ? PictureViewLeast()
                       : c.id == wsids::kDialView  ? DialViewSize()
                                                   : CalibrationViewLeast();
                size = {Scaled(size.width, m.pixelScale), Scaled(size.height, m.pixelScale)};
                break;
            case EWorkshopKind::Paragraph:
                size = {kParagraphLeastChars * m.lineHeight / 2, c.lines * m.lineHeight};
                break;
            case EWorkshopKind::List:
                size = m.natural(c.id);
                size.height = std::max(size.height, kListLeastLines * m.lineHeight);
                break;
            default:
                size = m.natural(c.id);
        }
        if (!c.sameRow || rows.empty())
            rows.emplace_back();
        SRow& row = rows.back();
        row.width += (row.controls.empty() ? 0 : gap) + size.width;
        row.height = std::max(row.height, size.height);
        row.grows = row.grows || c.grows;
        row.controls.push_back(&c);
        row.natural.push_back(size);
    }
    return rows;
}

struct SColumn {
    std::vector<SRow> rows;
    int width = 0;
    int leastHeight = 0;  // the rows' least heights with the gaps between them
    int growers = 0;
};

SColumn Column(EWorkshopColumn which, const SMeasures& m, int gap) {
    SColumn column;
    column.rows = Rows(which, m, gap);
    for (const SRow& row : column.rows) {
        column.width = std::max(column.width, row.width);
        column.leastHeight += row.height;
        column.growers += row.grows ? 1 : 0;
    }
    column.leastHeight += gap * static_cast<int>(column.rows.size() - 1);
    return column;
}

// Places a column's rows from the top, sharing `spare` height among the rows that grow; in
// a row, the first box (an edit or a list) or else the last control takes the spare width.
void Place(const SColumn& column, int left, int top, int width, int spare, int gap, SLayout& out) {
    int y = top;
    int growersLeft = column.growers;
    for (const SRow& row : column.rows) {
        int height = row.height;
        if (row.grows) {
            const int share = spare / std::max(growersLeft, 1);
            height += share;
            spare -= share;
            --growersLeft;
        }
        size_t stretch = row.controls.size() - 1;
        for (size_t i = 0; i < row.controls.size(); ++i) {
            const EWorkshopKind kind = row.controls[i]->kind;
            if (kind == EWorkshopKind::Edit || kind == EWorkshopKind::DropDownList) {
                stretch = i;
                break;
            }
        }
        int x = left;
        const int extra = width - row.width;
        for (size_t i = 0; i < row.controls.size(); ++i) {
            const SWorkshopControl& c = *row.controls[i];
            int w = row.natural[i].width + (i == stretch ? extra : 0);
            // A view keeps its pixels' size only when it does not grow: the dial as sent.
            int h = c.grows || c.kind == EWorkshopKind::Paragraph || c.kind == EWorkshopKind::List
                        ? height
                        : row.natural[i].height;
            if (c.kind == EWorkshopKind::View && !c.grows)
                w = row.natural[i].width;
            // Single lines sit in the middle of their row.
            out.controls[c.id] = {x, y + (height - h) / 2, w, h};
            x += w + gap;
        }
        y += height + gap;
    }
}

}  // namespace

SSize PictureViewLeast() {
    return {320, 240};
}

SSize DialViewSize() {
    return {gauge::kDialSide, gauge::kDialSide};
}

SSize CalibrationViewLeast() {
    const artwork::SSheetLayout sheet = artwork::SheetLayout(gauge::kDialSide, gauge::kDialSide, 2);
    return {sheet.width, sheet.height};
}

SLayout LayOut(const SMeasures& m, SSize client) {
    const int gap = std::max(4, m.lineHeight / 2);
    const int margin = std::max(8, m.lineHeight);
    const SColumn picture = Column(EWorkshopColumn::Picture, m, gap);
    const SColumn dial = Column(EWorkshopColumn::Dial, m, gap);
    const SColumn calibration = Column(EWorkshopColumn::Calibration, m, gap);

    SLayout layout;
    layout.minimum.width = 2 * margin + picture.width + dial.width + calibration.width + 2 * margin;
    layout.minimum.height =
        2 * margin + std::max({picture.leastHeight, dial.leastHeight, calibration.leastHeight});
    const int width = std::max(client.width, layout.minimum.width);
    const int height = std::max(client.height, layout.minimum.height) - 2 * margin;

    // The dial column takes the width the others leave.
    const int dialWidth = dial.width + (width - layout.minimum.width);
    int x = margin;
    Place(picture, x, margin, picture.width, height - picture.leastHeight, gap, layout);
    x += picture.width + margin;
    Place(dial, x, margin, dialWidth, height - dial.leastHeight, gap, layout);
    x += dialWidth + margin;
    Place(calibration, x, margin, calibration.width, height - calibration.leastHeight, gap, layout);
    return layout;
}

}  // namespace workshoplayout
