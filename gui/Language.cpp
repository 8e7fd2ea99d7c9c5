#include "Language.h"

#include "DataFiles.h"
#include "text/Shown.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QTranslator>

#include <cstdlib>
#include <iostream>
#include <string>

namespace vantor::gui {
namespace {

Language inUse = Language::Chinese;

// The choice lives in the suite's own settings file, shared by the three
// programs.
const char* const kSuite = "Vantor suite";
const char* const kLanguageKey = "language";

bool load(QCoreApplication& app, const QString& name, const QString& directory) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(name, directory)) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

std::string coreTextInEnglish(const char* text) {
    return qtTrId(text).toStdString();
}

std::string_view environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

LanguageOption takeLanguageOption(int& argc, char** argv) {
    LanguageOption result;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::optional<std::string> value;
        if (arg == "--lang") {
            value = i + 1 < argc ? std::string(argv[++i]) : std::string();
        } else if (arg.starts_with("--lang=")) {
            value = arg.substr(7);
        } else {
            argv[kept++] = argv[i];
            continue;
        }
        result.language = common::languageNamed(*value);
        if (!result.language) {
            std::cerr << "--lang takes en or zh, not \"" << *value << "\"\n";
            result.exitStatus = 2;
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    return result;
}

bool installLanguage(QCoreApplication& app, Language language, const QString& program,
                     const QString& directory) {
    if (language == Language::Chinese) {
        inUse = Language::Chinese;
        return load(app, "qtbase_zh_CN", QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    }
    bool complete = true;
    for (const QString& name : {QString("core_en"), QString("gui_en"), program + "_en"})
        complete = load(app, name, directory) && complete;
    text::installTranslator(coreTextInEnglish);
    inUse = Language::English;
    return complete;
}

Language startInLanguage(QCoreApplication& app, std::optional<Language> option, const QString& program) {
    const Language locale =
        common::languageOfLocale(environment("LC_ALL"), environment("LC_MESSAGES"), environment("LANG"));
    const QSettings settings(QSettings::UserScope, "Vantor", kSuite);
    const std::string stored = settings.value(kLanguageKey).toString().toStdString();
    const Language language = common::chooseLanguage(option, stored, locale);
    const QString directory = QFileInfo(dataFile("translations/core_en.qm")).path();
    if (!installLanguage(app, language, program, directory) && language == Language::English)
        std::cerr << "English catalogues missing in " << directory.toStdString()
                  << "; some texts stay Chinese\n";
    return language;
}

Language currentLanguage() {
    return inUse;
}

QString pageInLanguage(const QString& relative) {
    if (inUse == Language::English) {
        QFileInfo page(relative);
        const QString english = page.path() + "/" + page.completeBaseName() + "_en." + page.suffix();
        if (QFileInfo(dataFile(english)).isFile())
            return dataFile(english);
    }
    return dataFile(relative);
}

QMenu* makeLanguageMenu(QWidget* parent) {
    // Each language is named in itself, so that a user who reads only one
    // of them finds it.
    auto* menu = new QMenu(QString::fromUtf8(VT_DATA("语言 / Language")), parent);
    auto* group = new QActionGroup(menu);
    const struct {
        Language language;
        const char* name;
        const char* afterRestart;
    } choices[] = {
        {Language::Chinese, VT_DATA("中文"), VT_DATA("重新启动程序后界面使用中文。")},
        {Language::English, "English", "The program speaks English once it is started again."},
    };
    for (const auto& choice : choices) {
        QAction* action = menu->addAction(QString::fromUtf8(choice.name));
        action->setCheckable(true);
        action->setChecked(choice.language == inUse);
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, parent, [choice, parent] {
            QSettings(QSettings::UserScope, "Vantor", kSuite)
                .setValue(kLanguageKey, QString::fromUtf8(common::languageCode(choice.language)));
            if (choice.language != inUse)
                QMessageBox::information(parent, QString::fromUtf8(choice.name),
                                         QString::fromUtf8(choice.afterRestart));
        });
    }
    return menu;
}

} // namespace vantor::gui
