// The launcher's window: the viewer picks one of the display's resolutions
// and full-screen or not, and "DEMO" runs the demo program with those
// switches, waiting for it to end before the launcher closes.
#pragma once

#include "displaymodesource.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <memory>
#include <utility>
#include <vector>

namespace Ui
{
class MainWindow;
}

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // demoProgram is the program "DEMO" runs, by the path given here.
    MainWindow(const DisplayModeSource& displayModes, const QString& demoProgram, QWidget* parent = nullptr);
    ~MainWindow() override;

private slots:
    void on_pushButton_2_clicked();
    void on_comboBox_currentIndexChanged(int index);
    void on_pushButton_clicked();

private:
    void addPlaceholder();
    void addResolutions(const std::vector<DisplayMode>& modes);
    QStringList demoArguments() const;

    std::unique_ptr<Ui::MainWindow> m_form;
    int m_selectedResolution;
    std::vector<std::pair<int, int>> m_resolutions;
    QString m_demoProgram;
};
