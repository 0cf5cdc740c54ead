#include "census/job_families.h"

namespace tavo {
namespace {

// The family of the jobs 0 to 23 of the server's job table.
constexpr JobFamily kFamilyOfJob[] = {
    JobFamily::Novice,  JobFamily::Swordman, JobFamily::Mage,     JobFamily::Archer,
    JobFamily::Acolyte, JobFamily::Merchant, JobFamily::Thief,    JobFamily::Swordman,
    JobFamily::Acolyte, JobFamily::Mage,     JobFamily::Merchant, JobFamily::Archer,
    JobFamily::Thief,   JobFamily::Swordman, JobFamily::Swordman, JobFamily::Acolyte,
    JobFamily::Mage,    JobFamily::Thief,    JobFamily::Merchant, JobFamily::Archer,
    JobFamily::Archer,  JobFamily::Swordman, JobFamily::Other,    JobFamily::SuperNovice};

constexpr const char* kCastles[] = {
    "Neuschwanstein", "Hohenschwangau", "Nuernberg",   "Wuerzburg",    "Rothenburg",
    "Repherion",      "Eeyolbriggar",   "Yesnelph",    "Bergel",       "Mersetzdeitz",
    "Bright Arbor",   "Scarlet Palace", "Holy Shadow", "Sacred Altar", "Bamboo Grove Hill",
    "Kriemhild",      "Swanhild",       "Fadhgridh",   "Skoegul",      "Gondul"};

// The job of the first table a class stands for: 4001 Novice High is Novice, 4008 Lord Knight
// is Knight, 4024 to 4044 are the baby forms of jobs 1 to 21, 4045 Super Baby is Super Novice.
std::int32_t job_of(std::int32_t class_id) {
    if (class_id == 4001 || class_id == 4023) return 0;
    if (class_id >= 4002 && class_id <= 4022) return class_id - 4001;
    if (class_id >= 4024 && class_id <= 4044) return class_id - 4023;
    if (class_id == 4045) return 23;
    return class_id;
}

}  // namespace

JobFamily job_family(std::int32_t class_id) {
    const std::int32_t job = job_of(class_id);
    if (job < 0 || job >= static_cast<std::int32_t>(std::size(kFamilyOfJob))) {
        return JobFamily::Other;
    }
    return kFamilyOfJob[job];
}

std::string_view job_family_name(JobFamily family) {
    constexpr std::array<std::string_view, kJobFamilies> kNames = {
        "Novice",   "Swordman", "Mage",         "Archer", "Acolyte",
        "Merchant", "Thief",    "Super Novice", "Other"};
    return kNames[static_cast<std::size_t>(family)];
}

std::string castle_name(std::int32_t castle_id) {
    if (castle_id >= 0 && castle_id < static_cast<std::int32_t>(std::size(kCastles))) {
        return kCastles[castle_id];
    }
    return "Castle " + std::to_string(castle_id);
}

}  // namespace tavo
