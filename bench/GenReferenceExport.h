#pragma once

// Writes an export of tables, pages and codeunits whose references are all known to path, and the
// sorted list of those references to listPath (bench/GenReferenceExport.cpp). 0 on success, 1 when
// a file cannot be written.
int writeReferenceExport(const char* path, const char* listPath, double megabytes);
