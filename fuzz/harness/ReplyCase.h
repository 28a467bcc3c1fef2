#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CScratchDir;

namespace fuzzcase {

// Plays the user and the gauge around uploads on a connected dialog with a fake port. The
// input is a script, one step per line:
//   I<d> / T<d>  choose dial picture d (0-7) with Select IAS / TAS Dial; another character
//                cancels the file dialog
//   C<i|t|m>     click the IAS, TAS or Max Speed check box
//   M<n>         choose item n of the maximum-speed list
//   E<k>=<text>  type text into angle entry k
//   P            press Update
//   K            press Connect / Disconnect
//   ><bytes>     the gauge sends bytes (\r \n \0 \\ \xHH escapes); they wait on the line
//   D            the reader's notification arrives: the dialog reads what waits
//   R<bytes>     the gauge sends bytes and the notification arrives
//   A<n>         n acknowledgements "U", each read alone
//   Z            a notification without the bytes-waiting flag
// After every step each line the dialog wrote must be a line of the protocol, and must be
// the line the step calls for: pixel lines are checked against the dial pixel by pixel.
// Raises CFuzzFailure when a check fails.
class CReplyStreamCase {
public:
    // Writes the dial pictures into `scratch`.
    explicit CReplyStreamCase(const CScratchDir& scratch);

    void Run(const uint8_t* data, size_t size) const;

private:
    std::vector<std::string> m_pictures;
};

}  // namespace fuzzcase
