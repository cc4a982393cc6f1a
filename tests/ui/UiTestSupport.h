#pragma once

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>
#include <functional>

namespace UiTest {

// Acts on each modal dialog of type Dialog as soon as it is open (a message
// box, a file dialog, the power-off countdown), as a user would, while it
// lives.
template <typename Dialog> class OnModal
{
public:
    explicit OnModal(std::function<void(Dialog *)> act)
        : m_act(std::move(act))
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible() || dialog == m_last)
                return;
            m_last = dialog;
            ++m_seen;
            m_act(dialog);
        });
        m_timer.start();
    }
    int seen() const { return m_seen; }

private:
    std::function<void(Dialog *)> m_act;
    QTimer m_timer;
    QPointer<Dialog> m_last;
    int m_seen = 0;
};

// Takes what the desktop would be asked to open (QDesktopServices'
// setUrlHandler), instead of starting programs.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl &url) { urls << url; }
};

// The text a label, tooltip or message box shows for text in format: markup
// is rendered, so a name taken for markup loses its tags.
inline QString ShownText(const QString &text, Qt::TextFormat format = Qt::AutoText)
{
    if (format == Qt::PlainText || (format == Qt::AutoText && !Qt::mightBeRichText(text)))
        return text;
    QTextDocument document;
    document.setHtml(text);
    QString shown = document.toPlainText();
    shown.replace(QChar::LineSeparator, u'\n').replace(QChar::Nbsp, u' ');
    return shown;
}

} // namespace UiTest
