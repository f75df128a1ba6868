#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tessaly {

class LimitedMemo;
class OpinionPanel;

// The feedback window: an opinion, a free text and an optional e-mail address,
// posted to the maker's server. Created fresh for each opening; frees itself
// when it closes.
class TFeedbackForm : public QDialog {
    Q_OBJECT
public:
    explicit TFeedbackForm(QWidget* parent = nullptr);

    QWidget* Panel3 = nullptr;
    OpinionPanel* Panel4 = nullptr;
    OpinionPanel* Panel5 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    LimitedMemo* Memo1 = nullptr;
    QWidget* Panel1 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QWidget* Panel2 = nullptr;
    QPushButton* BitBtn1 = nullptr;

    void FormCreate();
    void Image1Click();
    void Image2Click();
    void BitBtn1Click();

    // The time-out of each wait of the post; each of its two attempts ends
    // within twice that. Tests shorten it.
    int timeoutMs = 3000;

    // The window while one is open.
    static QPointer<TFeedbackForm> FeedbackForm;

private:
    void createControls();
    void createConnections();
    void send(const QString& feedback, const QString& email);
    bool sending_ = false;
};

} // namespace tessaly
