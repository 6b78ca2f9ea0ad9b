// Spreadsheet export: a caller's table of doubles as one worksheet of an
// .xlsx workbook (ToExcelFile, ToExcel).
#pragma once

#include <cstdint>
#include <string>

#include "frame/Platform.h"

namespace zentrik::spreadsheet {

// Name of the one worksheet, UTF-8.
inline constexpr const char* kSheetName = "Экспорт данных";

// Size limits of a worksheet; larger tables are refused, not cut.
inline constexpr std::int32_t kMaxRows = 1048576;
inline constexpr std::int32_t kMaxColumns = 16384;

// True when this build can write workbooks (it was built with libxlsxwriter).
bool WriterAvailable();

// Name of an exported workbook: "zentrik-YYYYMMDD-HHMMSS.xlsx" for the first
// attempt, "zentrik-YYYYMMDD-HHMMSS-<attempt>.xlsx" for attempts from 2 on.
std::string ExportFileName(const platform::LocalTime& time, int attempt);

// The directory ToExcel writes to: the working directory recorded last, else
// the current directory, else ".".
std::string ExportDirectory();

}  // namespace zentrik::spreadsheet
