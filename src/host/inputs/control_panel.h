// ControlPanel: the tab control PageControl1 with the simulated inputs, and
// the one table of the window's controls by "TAB/CAPTION" (sliders, check
// boxes, combo boxes, line edits) or caption (buttons), which presets, the
// scenario runner and the links use. Each slider writes one firmware input
// when it moves; each check box is read by the main loop through the
// platform. The EMS, Selection and UL Power tabs are built here; other tabs
// (the GPS tab) add their controls to the table.
#pragma once
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTabWidget>
#include <array>
#include <functional>

#include "system/platform.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace host {

class ControlPanel : public QTabWidget {
    Q_OBJECT
public:
    explicit ControlPanel(QWidget* parent = nullptr);

    QSlider* slider(const QString& key) const { return sliders_.value(key); }
    QLabel* slider_label(const QString& key) const { return slider_labels_.value(key); }
    QCheckBox* check(const QString& key) const { return checks_.value(key); }
    QComboBox* combo(const QString& key) const { return combos_.value(key); }
    QPushButton* button(const QString& caption) const { return buttons_.value(caption); }
    QLineEdit* line_edit(const QString& key) const { return line_edits_.value(key); }
    // The engineering-unit readout beside a sensor slider, if it has one.
    QLabel* readout(const QString& key) const { return readouts_.value(key); }
    QStringList slider_keys() const { return sliders_.keys(); }
    QStringList check_keys() const { return checks_.keys(); }
    QStringList combo_keys() const { return combos_.keys(); }
    QStringList line_edit_keys() const { return line_edits_.keys(); }
    // Slider and check-box keys in the order of the tabs.
    const QStringList& control_order() const { return control_order_; }
    // The check box behind a box the firmware reads.
    QCheckBox* box(ems::CheckBox id) const { return boxes_[size_t(id)]; }

    // A slider in grid's row: caption, slider, and with value_label its raw
    // count and, for a sensor, the readout of what the unit makes of it.
    QSlider* add_slider(QGridLayout* grid, int row, const QString& tab, const QString& caption, int min,
                        int max, int start, std::function<void(int)> on_change, bool value_label = true);
    QCheckBox* add_check(QWidget* parent, const QString& tab, const QString& caption, bool checked);
    void add_combo(const QString& key, QComboBox* combo) { combos_.insert(key, combo); }
    void add_button(const QString& caption, QPushButton* button) { buttons_.insert(caption, button); }
    void add_line_edit(const QString& key, QLineEdit* edit) { line_edits_.insert(key, edit); }

    // Re-reads the firmware's converted values into the readouts (the window
    // does so four times a second, and after scripted passes).
    void refresh_readouts();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* build_ems_tab();
    QWidget* build_selection_tab();
    QWidget* build_ul_power_tab();
    void type_slider_value(const QString& key);

    QHash<QString, QSlider*> sliders_;
    QHash<QString, QLabel*> slider_labels_;
    QHash<QString, QCheckBox*> checks_;
    QHash<QString, QComboBox*> combos_;
    QHash<QString, QPushButton*> buttons_;
    QHash<QString, QLineEdit*> line_edits_;
    QHash<QString, QLabel*> readouts_;
    QStringList control_order_;
    std::array<QCheckBox*, size_t(ems::CheckBox::Count)> boxes_{};
};

} // namespace host
