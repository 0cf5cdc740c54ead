#pragma once
// How the overview groups what it counts: classes into the job family they grow from, and
// castle ids into the castles' names.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavo {

// The first job a class grows from; transcendent and baby forms belong to their job's family.
enum class JobFamily {
    Novice,
    Swordman,
    Mage,
    Archer,
    Acolyte,
    Merchant,
    Thief,
    SuperNovice,
    Other
};
inline constexpr std::size_t kJobFamilies = 9;

JobFamily job_family(std::int32_t class_id);
std::string_view job_family_name(JobFamily family);

// The castle of castle.txt by its id (0 to 19 in this era); "Castle N" for any other id.
std::string castle_name(std::int32_t castle_id);

}  // namespace tavo
