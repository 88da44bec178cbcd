// Help: the key map (the unit's keys and the window's shortcuts), the user
// guide, and About (the version and the licences of what the program ships,
// from the package's copyright file, built in).
#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

#include "host/window/help_menu.h"
#include "host/window/key_map.h"

namespace host {

namespace {

constexpr const char* GUIDE = "doc/sorvik-ems/docs/USER-GUIDE.md";

void show_message(QWidget* parent, const QString& title, const QString& html)
{
    auto* box = new QMessageBox(QMessageBox::NoIcon, title, html, QMessageBox::Ok, parent);
    box->setObjectName(title);
    box->setTextFormat(Qt::RichText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

QString row(const QString& what, const QString& how)
{
    return QString("<tr><td>%1</td><td>&nbsp;&nbsp;%2</td></tr>").arg(what.toHtmlEscaped(), how.toHtmlEscaped());
}

// Every menu entry with a shortcut, as the menus have them.
QString shortcut_rows(const QMenuBar* bar)
{
    QString rows;
    const auto add = [&rows](const QMenu* menu, const QString& path, const auto& self) -> void {
        for (const QAction* a : menu->actions()) {
            const QString name = path + QString(a->text()).remove('&');
            if (a->menu()) self(a->menu(), name + " ", self);
            else if (!a->shortcut().isEmpty()) rows += row(name, a->shortcut().toString(QKeySequence::NativeText));
        }
    };
    for (const QAction* a : bar->actions())
        if (a->menu()) add(a->menu(), QString(a->text()).remove('&') + " / ", add);
    return rows;
}

// The user guide installed beside the program, in the data folders, or in
// the project a build-tree program runs from.
QString find_user_guide()
{
    const QString beside = QCoreApplication::applicationDirPath();
    for (const QString& candidate : {beside + "/../share/" + GUIDE, beside + "/../docs/USER-GUIDE.md"})
        if (QFileInfo(candidate).isFile()) return QFileInfo(candidate).canonicalFilePath();
    return QStandardPaths::locate(QStandardPaths::GenericDataLocation, GUIDE);
}

void show_about(QWidget* parent)
{
    auto* about = new QDialog(parent);
    about->setObjectName("About");
    about->setWindowTitle("About");
    about->setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(about);
    layout->addWidget(new QLabel(QString("<b>Sorvik EMS G2 Simulator %1</b><br>The instrument's firmware in a "
                                         "desktop window. Built with Qt %2, running on Qt %3.")
                                     .arg(QApplication::applicationVersion(), QT_VERSION_STR, qVersion())));
    layout->addWidget(new QLabel("What the program ships, and under which licences:"));
    auto* licences = new QPlainTextEdit;
    licences->setObjectName("Licences");
    licences->setReadOnly(true);
    QFile copyright(":/about/copyright");
    licences->setPlainText(copyright.open(QIODevice::ReadOnly) ? QString::fromUtf8(copyright.readAll())
                                                                : "(the copyright file is missing)");
    layout->addWidget(licences);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QObject::connect(buttons, &QDialogButtonBox::rejected, about, &QDialog::close);
    layout->addWidget(buttons);
    about->resize(640, 480);
    about->open();
}

} // namespace

QString key_map_text(const QMenuBar* bar)
{
    QString html = "<b>The unit's keys</b><table>";
    for (uint8_t code = ems::KEY_SOFT1; code <= ems::KEY_SOFT5; ++code)
        html += row(QString("Soft key %1").arg(code), "click it, or " + keyboard_keys_of(code));
    html += row("Push the knob", "click the knob, or " + keyboard_keys_of(ems::KEY_PUSH));
    html += row("Turn clockwise (down a list)", "wheel down over the knob, the + button, or " +
                                                    keyboard_keys_of(ems::KEY_CW));
    html += row("Turn anticlockwise (up a list)", "wheel up over the knob, the - button, or " +
                                                      keyboard_keys_of(ems::KEY_CCW));
    html += "</table><p>Keys other than F1..F5 reach the unit while the front panel has the focus "
            "(click it).</p><b>Shortcuts</b><table>" +
            shortcut_rows(bar) + "</table>";
    return html;
}

void build_help_menu(QMainWindow* window)
{
    QMenu* help = window->menuBar()->addMenu("&Help");
    help->setObjectName("HelpMenu");
    QObject::connect(help->addAction("&Key Map"), &QAction::triggered, window,
                     [window] { show_message(window, "Key Map", key_map_text(window->menuBar())); });
    QObject::connect(help->addAction("&User Guide"), &QAction::triggered, window, [window] {
        const QString guide = find_user_guide();
        if (guide.isEmpty() || !QDesktopServices::openUrl(QUrl::fromLocalFile(guide)))
            show_message(window, "User Guide",
                         QString("The user guide is %1. It is installed as /usr/share/%2 and is "
                                 "docs/USER-GUIDE.md in the project.")
                             .arg(guide.isEmpty() ? "not found here" : "at " + guide.toHtmlEscaped(), GUIDE));
    });
    QObject::connect(help->addAction("&About"), &QAction::triggered, window, [window] { show_about(window); });
}

} // namespace host
