#pragma once
// Numbers as "%g" prints them in the C locale (six significant digits), whatever the process
// locale, for the export loops that write a million of them.
#include <string>

void AppendG(std::string& text, double value);
void AppendG(std::wstring& text, double value);
