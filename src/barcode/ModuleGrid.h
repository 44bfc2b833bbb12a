#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// A rectangle of dark and light modules, the result of every two-dimensional encoder
// (QR Code, PDF417, DataMatrix).
//
// Orientation, the same for every symbology: row 0 is the top row of the symbol as printed,
// column 0 its left column; get(x, y) reads column x of row y. Encoders whose standards count
// rows from the bottom (DataMatrix) flip while they build the grid, so callers never do.
class ModuleGrid
{
public:
    ModuleGrid() = default;
    // A width x height grid, every module light. Throws std::bad_alloc like any container.
    ModuleGrid(int width, int height);

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool isEmpty() const { return m_width <= 0 || m_height <= 0; }

    bool get(int x, int y) const { return m_cells[std::size_t(y) * std::size_t(m_width) + std::size_t(x)] != 0; }
    void set(int x, int y, bool dark) { m_cells[std::size_t(y) * std::size_t(m_width) + std::size_t(x)] = dark ? 1 : 0; }

    // Row-major cells, 1 dark and 0 light.
    const std::vector<std::uint8_t> &cells() const { return m_cells; }

    // One line per row from the top, one digit per module ('1' dark), each line ended by "\n".
    QString description() const;

    bool operator==(const ModuleGrid &other) const = default;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_cells;
};
