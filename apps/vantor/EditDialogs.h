#pragma once
// The editing forms as modal dialogs: each copies the core form into its
// controls, and on OK copies the controls back and lets the core decide
// whether the dialog closes. True when the user's OK was accepted.
#include "editing/AddressingModeForm.h"
#include "editing/ComPropertiesForm.h"
#include "editing/CommandForm.h"
#include "editing/DefaultValuesForm.h"
#include "editing/SlavePropertiesForm.h"

class QWidget;

bool runSlaveDialog(QWidget* parent, vantor::model::CVantorDoc& doc,
                    vantor::editing::SlavePropertiesForm& form);
bool runCommandDialog(QWidget* parent, vantor::model::CVantorDoc& doc, vantor::editing::CommandForm& form);
bool runComDialog(QWidget* parent, vantor::model::CVantorDoc& doc, vantor::editing::ComPropertiesForm& form);
bool runAddressingModeDialog(QWidget* parent, vantor::model::CVantorDoc& doc,
                             vantor::editing::AddressingModeForm& form);
bool runDefaultValuesDialog(QWidget* parent, vantor::model::CVantorDoc& doc,
                            vantor::editing::DefaultValuesForm& form);
