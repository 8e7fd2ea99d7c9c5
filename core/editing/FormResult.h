#pragma once
// What an OK press on an editing form answers: close the form, or keep it
// open with the user's input (the message was already shown).
namespace vantor::editing {

enum class FormResult { Accepted, StayOpen };

} // namespace vantor::editing
