#pragma once
// Qt's own texts (the standard buttons, the file and input dialogs) in
// Chinese, as every text of the program is, whatever the system's language.

namespace carteloom {

// Installs Qt's Chinese catalog from a "translations" folder beside the
// program (where windeployqt puts it on Windows), else from Qt's own
// translations folder. False when neither holds it: Qt's texts stay English.
bool LoadQtTranslations();

}  // namespace carteloom
