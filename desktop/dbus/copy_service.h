// The running program's Copy method on the session bus: what F2 does, for
// desktops that bind a custom shortcut to bbcolour-copy instead.
#pragma once

#include <QDBusConnection>
#include <QObject>

namespace bbcolour::desktop {

class NotificationLabel;

class CopyService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "io.github.bbcolour.BBColour")
public:
    // Each Copy call notifies `label` as an F2 press does, with `hotkeyId`.
    CopyService(NotificationLabel* label, int hotkeyId, QObject* parent = nullptr);
    // Takes the application id on `bus`; false when another instance has it.
    bool Publish(QDBusConnection bus);

public slots:
    // Returns at once; the copy and its confirmation follow on the GUI thread.
    Q_SCRIPTABLE void Copy();

private:
    NotificationLabel* label_;
    int hotkeyId_;
};

}  // namespace bbcolour::desktop
