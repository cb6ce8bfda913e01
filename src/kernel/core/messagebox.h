#pragma once
#include <string_view>

// Shows a modal error box when a person can see it; under tests and CI (CI or
// HALVARDINE_NO_MSGBOX set, or no display) a box would hang the run, so the
// caption and text go to standard error only. Standard error always gets them.
void ShowErrorBox(std::string_view Caption, std::string_view Text);
