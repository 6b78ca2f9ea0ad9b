// The spreadsheet application reached by OLE automation (Windows only).
#pragma once

#include <cstdint>

namespace zentrik {

// Copies table[i][j] (rows x columns) into the first worksheet of a new
// workbook of the application registered as "Excel.Application", named
// "Экспорт данных", each value as its text (NumberText with the user's
// decimal separator), and leaves the application open and visible. Every
// member is reached by name through IDispatch, in this order: Visible = true,
// Workbooks, Add, Item(1), Worksheets, Item(1), Item(1).Name, then per cell
// Cells, Item(i + 1, j + 1), Value. Every object obtained is released, also
// when a call fails.
//
// Returns true when every cell was written; false when no such application
// is registered, it cannot be started or any automation call fails (the
// cells after the failing one are then not written). Nothing else happens to
// the caller: the thread's COM initialisation count is the same afterwards
// (a CoInitializeEx that succeeds here is balanced by one CoUninitialize; a
// thread already in a multithreaded apartment is used as it is).
bool AutomateSpreadsheet(const double* const* table, std::int32_t rows, std::int32_t columns);

}  // namespace zentrik
