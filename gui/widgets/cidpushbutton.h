#pragma once
// A push button with an integer id and the console's touch rule: a finger that
// slides further than the cancel margin off the button cancels the press
// instead of triggering it. One slot can serve many buttons through the id.
#include <QPushButton>

class CIdPushButton : public QPushButton {
    Q_OBJECT
public:
    explicit CIdPushButton(QWidget* parent = nullptr);
    CIdPushButton(int id, QWidget* parent);

    int id() const { return mId; }
    void setId(int id) { mId = id; }

signals:
    void Pressed(int id);
    void Released(int id);
    void Cancelled(int id);
    void Toggled(int id, bool checked);

public slots:
    void OnPressed();
    void OnReleased();

protected:
    // How far (pixels) the finger may leave the button before the press is cancelled.
    virtual int cancelMargin() const;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void init();

    int mId = 0;
    bool mPressed = false;
};
