#pragma once
// The walk of the English window tests: every window, dialog, menu and
// painted text a program shows, from its menus, its drawing's selections and
// the buttons of its dialogs, harvested and checked for Chinese text left
// untranslated. The user's own names and the language menu (which names each
// language in itself) are allowed.
#include "GuiTestSupport.h"
#include "Language.h"
#include "MainWindowParts.h"
#include "text/Shown.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPaintEngine>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTextItem>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <functional>
#include <map>

namespace vantor::testing {

// The menu an action opens, if any.
inline QMenu* submenu(QAction* action) {
    for (QWidget* w : QApplication::allWidgets())
        if (auto* m = qobject_cast<QMenu*>(w); m && m->menuAction() == action)
            return m;
    return nullptr;
}

// A paint device that keeps the text drawn on it and nothing else: what a
// widget paints itself (the drawing, the health grid) is read like a label.
class TextRecorder : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &engine_; }
    QStringList texts() const { return engine_.texts; }

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth:
        case PdmHeight:
            return 4000;
        case PdmWidthMM:
        case PdmHeightMM:
            return 1000;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
        default:
            return 96;
        }
    }

private:
    struct Engine : QPaintEngine {
        Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawPath(const QPainterPath&) override {}
        void drawTextItem(const QPointF&, const QTextItem& item) override { texts << item.text(); }
        Type type() const override { return QPaintEngine::User; }
        QStringList texts;
    };
    mutable Engine engine_;
};

class EnglishWalk {
public:
    // Installs English for `program` and records every place the program
    // opens (help pages, folders) instead of opening it.
    explicit EnglishWalk(const QString& program) : chooser_() {
        // Files other tests opened would be offered (and saved) again.
        QSettings().remove("recentFiles");
        gui::installLanguage(*QCoreApplication::instance(), gui::Language::English, program,
                             VANTOR_TRANSLATIONS_DIR);
        gui::setLocalPlaceOpener([this](const QUrl& url) {
            opened.append(url);
            return true;
        });
    }
    ~EnglishWalk() {
        gui::setLocalPlaceOpener(nullptr);
        text::installTranslator(nullptr);
    }
    EnglishWalk(const EnglishWalk&) = delete;
    EnglishWalk& operator=(const EnglishWalk&) = delete;

    // Texts that may hold Chinese: the user's own names.
    void allow(const QString& userText) {
        if (!userText.isEmpty())
            allowed_.append(userText);
    }

    // Every visible text of `top` and what it holds out of sight (combo
    // items, other tabs, table cells and headers, menus, tool tips).
    void harvest(QWidget* top, const QString& where) {
        ++windows;
        if (qEnvironmentVariableIsSet("VANTOR_WALK_TRACE"))
            qInfo("%s", qPrintable(where));
        // VANTOR_WALK_SHOTS=DIR keeps a picture of every window walked, to
        // look at.
        if (const QString shots = qEnvironmentVariable("VANTOR_WALK_SHOTS"); !shots.isEmpty())
            top->grab().save(QString("%1/%2-%3.png")
                                 .arg(shots)
                                 .arg(windows, 3, 10, QChar('0'))
                                 .arg(top->metaObject()->className()));
        check(where, top->windowTitle());
        paintedTexts(top, where);
        if (auto* main = qobject_cast<QMainWindow*>(top))
            menuTexts(main->menuBar()->actions(), where + " menu");
        if (auto* box = qobject_cast<QMessageBox*>(top)) {
            check(where, box->text());
            check(where, box->informativeText());
        }
        for (QWidget* w : top->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(top))
                continue;
            check(where, w->toolTip());
            menuTexts(w->actions(), where + " actions");
            if (auto* combo = qobject_cast<QComboBox*>(w))
                for (int i = 0; i < combo->count(); ++i)
                    check(where + " combo", combo->itemText(i));
            if (auto* edit = qobject_cast<QLineEdit*>(w))
                check(where, edit->placeholderText());
            if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
                const int current = tabs->currentIndex();
                for (int i = 0; i < tabs->count(); ++i) {
                    check(where + " tab", tabs->tabText(i));
                    tabs->setCurrentIndex(i);
                    paintedTexts(tabs->widget(i), where + " tab " + tabs->tabText(i));
                }
                tabs->setCurrentIndex(current);
            }
            if (auto* view = qobject_cast<QAbstractItemView*>(w))
                modelTexts(view, where);
        }
    }

    // Runs `act` (a trigger, a click); every popup menu, modal dialog and new
    // window it opens is harvested and closed (new windows only when
    // `closeWindows`), and within dialogs, down to `depth`, what each of
    // their own buttons opens as well.
    void follow(const QString& where, const std::function<void()>& act, int depth = 1,
                bool closeWindows = true) {
        const QWidgetList before = QApplication::topLevelWidgets();
        QList<QPointer<QWidget>> seen;
        QTimer timer;
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                menuTexts(popup->actions(), where + " popup");
                popup->close();
                return;
            }
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            QPointer<QWidget> guard(modal);
            if (seen.contains(guard)) {
                close(modal, true); // it refused the first close
                return;
            }
            seen.append(guard);
            timer.stop();
            const QString name =
                where + " > " + modal->metaObject()->className() + " \"" + modal->windowTitle() + "\"";
            harvest(modal, name);
            if (depth > 0)
                for (QPushButton* button : explorable(modal)) {
                    follow(
                        name + " > " + button->text(), [button] { button->click(); }, depth - 1);
                    if (!guard)
                        break;
                }
            if (guard)
                close(guard, false);
            timer.start();
        });
        timer.start();
        act();
        timer.stop();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (!before.contains(w) && w->isVisible() && !qobject_cast<QMenu*>(w)) {
                harvest(w, where + " > window " + w->metaObject()->className());
                if (closeWindows)
                    w->close();
            }
    }

    // Every finding as one line per text, with the first place it was seen.
    QString report() const {
        QString out;
        for (const auto& [text, where] : findings_)
            out += "\n  \"" + text + "\" in " + where;
        return out;
    }
    bool clean() const { return findings_.empty(); }
    int texts = 0;
    int windows = 0;
    QList<QUrl> opened;

private:
    static bool hasChinese(const QString& s) {
        static const QRegularExpression cjk("[\\x{3000}-\\x{303f}\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]");
        return s.contains(cjk);
    }

    void check(const QString& where, QString text) {
        if (text.isEmpty())
            return;
        ++texts;
        for (const QString& a : allowed_)
            text.replace(a, " ");
        if (hasChinese(text) && !findings_.count(text))
            findings_[text] = where;
    }

    void paintedTexts(QWidget* w, const QString& where) {
        TextRecorder recorder;
        w->render(&recorder);
        for (const QString& t : recorder.texts())
            check(where, t);
    }

    void menuTexts(const QList<QAction*>& actions, const QString& where) {
        for (QAction* a : actions) {
            if (!a->isVisible())
                continue;
            check(where, a->text());
            check(where, a->toolTip());
            if (QMenu* sub = submenu(a))
                menuTexts(sub->actions(), where + " / " + sub->title());
        }
    }

    void modelTexts(QAbstractItemView* view, const QString& where) {
        const QAbstractItemModel* model = view->model();
        if (!model)
            return;
        for (int c = 0; c < model->columnCount(); ++c)
            check(where + " header", model->headerData(c, Qt::Horizontal).toString());
        const int rows = std::min(model->rowCount(), 64);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < model->columnCount(); ++c) {
                const QModelIndex i = model->index(r, c);
                check(where + " cell", model->data(i).toString());
                check(where + " cell", model->data(i, Qt::ToolTipRole).toString());
                for (int k = 0; k < model->rowCount(i) && k < 64; ++k)
                    check(where + " cell", model->data(model->index(k, 0, i)).toString());
            }
    }

    // The buttons of a dialog that may open more: not the closing ones of
    // its button box.
    static QList<QPushButton*> explorable(QWidget* dialog) {
        QList<QPushButton*> found;
        if (qobject_cast<QMessageBox*>(dialog))
            return found;
        for (QPushButton* b : dialog->findChildren<QPushButton*>())
            if (b->isVisibleTo(dialog) && b->isEnabled() &&
                !qobject_cast<QDialogButtonBox*>(b->parentWidget()))
                found.append(b);
        return found;
    }

    static void close(QWidget* w, bool force) {
        if (auto* d = qobject_cast<QDialog*>(w)) {
            if (force)
                d->done(QDialog::Rejected);
            else
                d->reject();
        } else {
            w->close();
        }
    }

    ScriptedChooser chooser_; // every file question answered "cancelled"
    // The language menu names each language in itself; its title may be
    // drawn in two runs of text.
    QStringList allowed_{"语言 / Language", "语言", "中文"};
    std::map<QString, QString> findings_;
};

// The actions of a window's menus (every level) and tool bars, each once,
// that `keep` accepts; the language menu left out.
inline QList<QAction*> menuChoices(QMainWindow& w, const std::function<bool(QAction*)>& keep) {
    QList<QAction*> found;
    std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
        for (QAction* a : actions) {
            if (a->isSeparator() || found.contains(a))
                continue;
            if (QMenu* sub = submenu(a)) {
                if (!sub->title().contains("Language"))
                    walk(sub->actions());
            } else if (!a->text().isEmpty() && keep(a)) {
                found.append(a);
            }
        }
    };
    walk(w.menuBar()->actions());
    for (QToolBar* bar : w.findChildren<QToolBar*>())
        walk(bar->actions());
    return found;
}

// A selection of the drawing: a name and where to click for it.
template <class Window> struct DrawingSelection {
    const char* name;
    std::function<QPoint(Window&)> at;
};

// The walk of a program's main window on `project`: for each selection, the
// window, the drawing's context menu and double-click, and every menu and
// tool bar action (each in a fresh window, since an action may change the
// project). `allowNames` allows the project's own names; `View` is the
// drawing's class. Returns what failed to open, empty when all did.
template <class Window, class View>
QString walkProjectWindow(EnglishWalk& walk, const QString& project,
                          const std::vector<DrawingSelection<Window>>& selections,
                          const std::function<void(Window&)>& allowNames) {
    // A copy, since the walk saves too.
    QTemporaryDir dir;
    const QString copy = dir.filePath(QFileInfo(project).fileName());
    if (!QFile::copy(project, copy))
        return "cannot copy " + project;
    const auto open = [&](const DrawingSelection<Window>& s) {
        auto w = std::make_unique<Window>();
        if (!w->openProject(copy))
            return std::unique_ptr<Window>();
        allowNames(*w);
        w->resize(1400, 900);
        w->show();
        QTest::mouseClick(w->template findChild<View*>(), Qt::LeftButton, {}, s.at(*w));
        return w;
    };
    // Leaving the window (ProjectWindow's 退出) is no choice to follow.
    const auto choosable = [](Window& w) {
        return menuChoices(w, [](QAction* a) { return a->objectName() != "command57665"; });
    };
    for (const auto& s : selections) {
        auto w = open(s);
        if (!w)
            return project + " does not open";
        walk.harvest(w.get(), QString("main window, %1 selected").arg(s.name));
        auto* view = w->template findChild<View*>();
        const QPoint at = s.at(*w);
        walk.follow(QString("%1 context menu").arg(s.name),
                    [&] { QTest::mouseClick(view, Qt::RightButton, {}, at); });
        walk.follow(QString("%1 double-click").arg(s.name),
                    [&] { QTest::mouseDClick(view, Qt::LeftButton, {}, at); });
        const QList<QAction*> actions = choosable(*w);
        for (int i = 0; i < actions.size(); ++i) {
            if (!actions[i]->isEnabled())
                continue;
            auto fresh = open(s);
            QAction* action = choosable(*fresh).value(i);
            if (!action || action->text() != actions[i]->text())
                return "the menus differ between two windows at " + actions[i]->text();
            walk.follow(QString("%1: %2").arg(s.name, action->text()), [action] { action->trigger(); });
        }
    }
    return {};
}

// The English help page a program opened: found, and without Chinese.
inline QString helpPageProblem(const QList<QUrl>& opened) {
    for (const QUrl& url : opened) {
        if (!url.toLocalFile().endsWith("index_en.html"))
            continue;
        QFile page(url.toLocalFile());
        if (!page.open(QIODevice::ReadOnly))
            return "cannot read " + url.toLocalFile();
        // Chinese is quoted only as what the files hold (the workbooks'
        // sheet and column names), marked as such.
        QString text = QString::fromUtf8(page.readAll());
        text.remove(QRegularExpression("<span lang=\"zh\">[^<]*</span>"));
        static const QRegularExpression cjk("[\\x{3400}-\\x{9fff}]");
        const auto found = cjk.match(text);
        return found.hasMatch() ? "unmarked Chinese in " + url.toLocalFile() + ": " +
                                      text.mid(found.capturedStart() - 20, 40)
                                : QString();
    }
    return "no English help page opened";
}

} // namespace vantor::testing
