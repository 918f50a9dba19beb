#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QTreeWidget;
class Session;
class TestsModel;

// The current client's tests on the client page, newest first: date, time, and how many
// channels lie outside the corridor. Choosing one makes it the current test; a double click
// (or Enter) asks for it to be opened in the graphs.
class ClientTestsList : public QWidget
{
    Q_OBJECT
public:
    ClientTestsList(Session *session, TestsModel *tests, QWidget *parent = nullptr);

    // The corridor percentage as the settings field holds it (text, checked here).
    void setPercentSource(std::function<QString()> source);
    // Fills the list again (the percentage may have changed).
    void refill();

Q_SIGNALS:
    void openRequested(int codeTest);

private:
    void scheduleRefill();
    void selectCurrent();

    Session *m_session;
    TestsModel *m_tests;
    std::function<QString()> m_percentSource;
    QLabel *m_caption = nullptr;
    QTreeWidget *m_list = nullptr;
    bool m_refillPending = false;
};
