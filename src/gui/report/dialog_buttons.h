// The "&Continuer" and "Annuler" buttons the report's small dialogs end with.
#pragma once

class QDialog;
class QDialogButtonBox;

namespace qz {

/// A button box under `dialog`: "&Continuer" (the default, object name
/// "continueButton") accepts it, "Annuler" rejects it.
QDialogButtonBox* continueCancelButtons(QDialog* dialog);

}  // namespace qz
