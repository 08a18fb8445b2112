#include "CZCSVFile.h"

CZCSVFile::CZCSVFile() { SetSections(1, L"\n"); }

CZCSVFile::~CZCSVFile() = default;
