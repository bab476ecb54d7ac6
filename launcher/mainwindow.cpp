#include "mainwindow.h"

#include "ui_mainwindow.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardItemModel>

#include <algorithm>
#include <cstdio>

MainWindow::MainWindow(const DisplayModeSource& displayModes, const QString& demoProgram, QWidget* parent)
    : QMainWindow(parent),
      m_form(std::make_unique<Ui::MainWindow>()),
      m_selectedResolution(0),
      m_demoProgram(demoProgram)
{
    m_form->setupUi(this);
    addPlaceholder();
    m_selectedResolution = 0;
    addResolutions(displayModes.modes());
}

MainWindow::~MainWindow() = default;

void MainWindow::on_pushButton_2_clicked()
{
    close();
}

void MainWindow::on_comboBox_currentIndexChanged(int index)
{
    if (index <= 0)
        return;
    m_form->pushButton->setEnabled(true);
    m_selectedResolution = index - 1;
}

void MainWindow::on_pushButton_clicked()
{
    // Only reachable through a real entry; anything else has no size to pass.
    if (m_selectedResolution < 0 || static_cast<size_t>(m_selectedResolution) >= m_resolutions.size())
        return;

    const QStringList arguments = demoArguments();
    hide();
    // Blocks this, the only, thread until the demo ends. The exit code and a
    // failure to start are of no interest: the launcher's work is done.
    QProcess::execute(m_demoProgram, arguments);
    close();
    // Closing a window that is already hidden does not count as closing the
    // last window, so the event loop has to be told to end.
    QCoreApplication::quit();
}

void MainWindow::addPlaceholder()
{
    const QString placeholder = tr("== Select a resolution ==");
    m_form->comboBox->addItem(placeholder);

    // Disabled in the item model, the placeholder stays on show at start but
    // cannot be picked from the list again.
    const int row = m_form->comboBox->findText(placeholder, Qt::MatchExactly | Qt::MatchCaseSensitive);
    auto* model = qobject_cast<QStandardItemModel*>(m_form->comboBox->model());
    if (row >= 0 && model)
        model->item(row)->setEnabled(false);
}

void MainWindow::addResolutions(const std::vector<DisplayMode>& modes)
{
    for (const DisplayMode& mode : modes) {
        const std::pair<int, int> size(mode.width, mode.height);
        // Modes that differ only in colour depth or refresh rate are one entry.
        if (std::find(m_resolutions.begin(), m_resolutions.end(), size) != m_resolutions.end())
            continue;
        m_resolutions.push_back(size);

        char text[500];
        std::snprintf(text, sizeof text, "%d * %d", size.first, size.second);
        m_form->comboBox->addItem(QString::fromLatin1(text));
    }
}

QStringList MainWindow::demoArguments() const
{
    const std::pair<int, int>& size = m_resolutions[static_cast<size_t>(m_selectedResolution)];
    QStringList arguments{"-w", QString::number(size.first), "-h", QString::number(size.second)};
    if (m_form->checkBox->isChecked())
        arguments << "-f";
    return arguments;
}
