#pragma once

namespace msr {

// The association's web address, named in the report's last line and in the
// information dialog.
inline constexpr const char* kAssociationWebAddress = "www.kwl-hausgilde-varlstadt.de";

} // namespace msr
