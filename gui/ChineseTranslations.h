#pragma once
// Qt's own texts (standard buttons, file dialogs, context menus) in Chinese,
// so that they speak the same language as the rest of the programs.
class QCoreApplication;

namespace vantor::gui {

// Loads Qt's simplified-Chinese catalogue into `app`; false when the
// catalogue is not installed (Qt's texts then stay English).
bool installChineseTranslations(QCoreApplication& app);

} // namespace vantor::gui
