#pragma once
// Qt's own texts (the standard buttons, the file and input dialogs) in
// Chinese, as every text of the program is, whatever the system's language.

namespace carteloom {

// Installs Qt's Chinese catalog: from a "translations" folder beside the
// program, else the one built into it, else Qt's own translations folder.
// False when none holds it: Qt's texts stay English.
bool LoadQtTranslations();

}  // namespace carteloom
