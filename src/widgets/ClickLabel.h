#pragma once

#include <QLabel>

// A label (text or picture) that acts on a click, with the hand cursor of a link.
class Click_Label final : public QLabel {
    Q_OBJECT

public:
    explicit Click_Label(QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
