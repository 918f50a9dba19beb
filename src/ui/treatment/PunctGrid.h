#pragma once

#include <QTableWidget>

struct TestRecord;

// The measured values of the test beside the questionnaire (`PunctGrid`): a heading row and
// the twelve meridians in the classical order with their left and right values, each cell in
// the colour of its conduction class. For reference only; the recipe does not use them.
class PunctGrid : public QTableWidget
{
    Q_OBJECT
public:
    explicit PunctGrid(QWidget *parent = nullptr);

    // `test` null empties the values.
    void showTest(const TestRecord *test, int percent);
};
