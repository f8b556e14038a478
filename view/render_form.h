#pragma once

#include <QMainWindow>

// The animation window: plays the frame files of the Tevra home's tmp folder.
// Openers set numQuadros, gradeI and gradeJ, then show it; every showing reloads.
class TRenderForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TRenderForm(QWidget* parent = nullptr);

    int numQuadros = 0;
    int gradeI = 0;
    int gradeJ = 0;

    // "Animation on-the-fly": a run of a gradeI x gradeJ grid is starting; then, as the run
    // writes frame n, show it. Called on the GUI thread.
    void iniciarAoVivo(int gradeI, int gradeJ);
    void quadroAoVivo(int n);
};
