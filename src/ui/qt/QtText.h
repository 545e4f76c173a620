#pragma once
#include <QString>

#include <string>

namespace vedozer::qtui {

// The presenters speak the program's code page (Windows-1252); Qt speaks Unicode. Every text
// crosses here, at the view's edge. CR LF line breaks become "\n".
QString fromCodePage(const std::string& text);
std::string toCodePage(const QString& text);
// Host paths and the start window's texts are UTF-8 already.
QString fromUtf8(const std::string& text);
std::string toUtf8(const QString& text);
// A caption's mnemonic marker ("&Delete") left out, for texts that cannot carry one (column
// headers, window titles); "&&" stays a literal "&".
QString withoutMnemonic(const QString& caption);

}  // namespace vedozer::qtui
