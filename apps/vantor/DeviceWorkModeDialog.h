#pragma once
// 工作模式设置: the gateway's work mode, kept in the project and sent with
// the next download; no device exchange.
#include "model/CVantorDoc.h"

#include <QDialog>

class QRadioButton;

class DeviceWorkModeDialog : public QDialog {
    Q_OBJECT
public:
    DeviceWorkModeDialog(QWidget* parent, vantor::model::CVantorDoc& doc);

    QRadioButton* slaveButton() const { return slave_; }
    QRadioButton* masterButton() const { return master_; }

public slots:
    void accept() override;

private:
    vantor::model::CVantorDoc& doc_;
    QRadioButton* slave_;
    QRadioButton* master_;
};
