// Speed of the vault core: the cipher beside nettle's and libgcrypt's
// Twofish (when installed), sealing, and saving and loading whole lists
// on a real SQLite store. Prints our time over theirs at the end.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "vault/ItemList.h"
#include "vault/ItemStore.h"
#include "vault/PasswordSealer.h"
#include "settings/RegistryStore.h"
#include "vault/SealingKey.h"
#include "TestSupport.h"
#include "vault/Twofish.h"
#include "health/HealthReport.h"
#include "importers/CsvExport.h"
#include "importers/ImportPlan.h"
#include "vault/Vault.h"
#include "vault/hardened/KeyDerivation.h"

#ifdef KEYNEST_BENCH_NETTLE
#include <nettle/twofish.h>
#endif
#ifdef KEYNEST_BENCH_GCRYPT
#include <gcrypt.h>
#endif

namespace {

constexpr std::size_t kBulkBytes = 4096;
constexpr std::uint8_t kKey[16] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF,
                                   0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10};

// The program's way to schedule a 128-bit key from raw bytes.
void ScheduleOurKey(keyInstance& key, const std::uint8_t* bytes) {
    makeKey(&key, DIR_ENCRYPT, 128, nullptr);
    for (std::uint32_t& word : key.key32) word = 0;
    for (unsigned i = 0; i < 16; ++i)
        key.key32[i / 4] |= static_cast<std::uint32_t>(bytes[i]) << (8 * (i % 4));
    reKey(&key);
}

struct OurCipher {
    OurCipher() {
        ScheduleOurKey(*key, kKey);
        cipherInit(&cipher, MODE_ECB, nullptr);
    }
    std::unique_ptr<keyInstance> key = std::make_unique<keyInstance>();
    cipherInstance cipher{};
};

// ---- block encryption and decryption ------------------------------------

void BM_Ours_EncryptBlock(benchmark::State& state) {
    OurCipher ours;
    std::uint8_t block[16] = {};
    for (auto _ : state) {
        blockEncrypt(&ours.cipher, ours.key.get(), block, 128, block);
        benchmark::DoNotOptimize(block);
    }
}
BENCHMARK(BM_Ours_EncryptBlock);

void BM_Ours_DecryptBlock(benchmark::State& state) {
    OurCipher ours;
    std::uint8_t block[16] = {};
    for (auto _ : state) {
        blockDecrypt(&ours.cipher, ours.key.get(), block, 128, block);
        benchmark::DoNotOptimize(block);
    }
}
BENCHMARK(BM_Ours_DecryptBlock);

void BM_Ours_EncryptBulk(benchmark::State& state) {
    OurCipher ours;
    std::vector<std::uint8_t> data(kBulkBytes, 0x5A);
    for (auto _ : state) {
        blockEncrypt(&ours.cipher, ours.key.get(), data.data(), static_cast<int>(kBulkBytes * 8),
                     data.data());
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBulkBytes));
}
BENCHMARK(BM_Ours_EncryptBulk);

void BM_Ours_DecryptBulk(benchmark::State& state) {
    OurCipher ours;
    std::vector<std::uint8_t> data(kBulkBytes, 0x5A);
    for (auto _ : state) {
        blockDecrypt(&ours.cipher, ours.key.get(), data.data(), static_cast<int>(kBulkBytes * 8),
                     data.data());
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBulkBytes));
}
BENCHMARK(BM_Ours_DecryptBulk);

void BM_Ours_KeySchedule128(benchmark::State& state) {
    auto key = std::make_unique<keyInstance>();
    std::uint8_t bytes[16];
    std::memcpy(bytes, kKey, sizeof bytes);
    for (auto _ : state) {
        ScheduleOurKey(*key, bytes);
        bytes[0] = static_cast<std::uint8_t>(key->subKeys[9]);
        benchmark::DoNotOptimize(key.get());
    }
}
BENCHMARK(BM_Ours_KeySchedule128);

#ifdef KEYNEST_BENCH_NETTLE
struct NettleCipher {
    NettleCipher() { twofish128_set_key(&ctx, kKey); }
    twofish_ctx ctx{};
};

void BM_Nettle_EncryptBlock(benchmark::State& state) {
    NettleCipher nettle;
    std::uint8_t block[16] = {};
    for (auto _ : state) {
        twofish_encrypt(&nettle.ctx, 16, block, block);
        benchmark::DoNotOptimize(block);
    }
}
BENCHMARK(BM_Nettle_EncryptBlock);

void BM_Nettle_DecryptBlock(benchmark::State& state) {
    NettleCipher nettle;
    std::uint8_t block[16] = {};
    for (auto _ : state) {
        twofish_decrypt(&nettle.ctx, 16, block, block);
        benchmark::DoNotOptimize(block);
    }
}
BENCHMARK(BM_Nettle_DecryptBlock);

void BM_Nettle_EncryptBulk(benchmark::State& state) {
    NettleCipher nettle;
    std::vector<std::uint8_t> data(kBulkBytes, 0x5A);
    for (auto _ : state) {
        twofish_encrypt(&nettle.ctx, kBulkBytes, data.data(), data.data());
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBulkBytes));
}
BENCHMARK(BM_Nettle_EncryptBulk);

void BM_Nettle_DecryptBulk(benchmark::State& state) {
    NettleCipher nettle;
    std::vector<std::uint8_t> data(kBulkBytes, 0x5A);
    for (auto _ : state) {
        twofish_decrypt(&nettle.ctx, kBulkBytes, data.data(), data.data());
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBulkBytes));
}
BENCHMARK(BM_Nettle_DecryptBulk);

void BM_Nettle_KeySchedule128(benchmark::State& state) {
    twofish_ctx ctx{};
    std::uint8_t bytes[16];
    std::memcpy(bytes, kKey, sizeof bytes);
    for (auto _ : state) {
        twofish128_set_key(&ctx, bytes);
        benchmark::DoNotOptimize(&ctx);
        bytes[0] = static_cast<std::uint8_t>(bytes[0] + 1);
    }
}
BENCHMARK(BM_Nettle_KeySchedule128);
#endif

#ifdef KEYNEST_BENCH_GCRYPT
struct GcryptCipher {
    GcryptCipher() {
        static const bool ready = [] {
            gcry_check_version(nullptr);
            gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
            gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
            return true;
        }();
        (void)ready;
        gcry_cipher_open(&handle, GCRY_CIPHER_TWOFISH128, GCRY_CIPHER_MODE_ECB, 0);
        gcry_cipher_setkey(handle, kKey, sizeof kKey);
    }
    ~GcryptCipher() { gcry_cipher_close(handle); }
    GcryptCipher(const GcryptCipher&) = delete;
    GcryptCipher& operator=(const GcryptCipher&) = delete;
    gcry_cipher_hd_t handle = nullptr;
};

void BM_Gcrypt_EncryptBlock(benchmark::State& state) {
    GcryptCipher gcrypt;
    std::uint8_t block[16] = {};
    for (auto _ : state) {
        gcry_cipher_encrypt(gcrypt.handle, block, 16, nullptr, 0);
        benchmark::DoNotOptimize(block);
    }
}
BENCHMARK(BM_Gcrypt_EncryptBlock);

void BM_Gcrypt_DecryptBlock(benchmark::State& state) {
    GcryptCipher gcrypt;
    std::uint8_t block[16] = {};
    for (auto _ : state) {
        gcry_cipher_decrypt(gcrypt.handle, block, 16, nullptr, 0);
        benchmark::DoNotOptimize(block);
    }
}
BENCHMARK(BM_Gcrypt_DecryptBlock);

void BM_Gcrypt_EncryptBulk(benchmark::State& state) {
    GcryptCipher gcrypt;
    std::vector<std::uint8_t> data(kBulkBytes, 0x5A);
    for (auto _ : state) {
        gcry_cipher_encrypt(gcrypt.handle, data.data(), kBulkBytes, nullptr, 0);
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBulkBytes));
}
BENCHMARK(BM_Gcrypt_EncryptBulk);

void BM_Gcrypt_DecryptBulk(benchmark::State& state) {
    GcryptCipher gcrypt;
    std::vector<std::uint8_t> data(kBulkBytes, 0x5A);
    for (auto _ : state) {
        gcry_cipher_decrypt(gcrypt.handle, data.data(), kBulkBytes, nullptr, 0);
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBulkBytes));
}
BENCHMARK(BM_Gcrypt_DecryptBulk);

void BM_Gcrypt_KeySchedule128(benchmark::State& state) {
    GcryptCipher gcrypt;
    std::uint8_t bytes[16];
    std::memcpy(bytes, kKey, sizeof bytes);
    for (auto _ : state) {
        gcry_cipher_setkey(gcrypt.handle, bytes, sizeof bytes);
        bytes[0] = static_cast<std::uint8_t>(bytes[0] + 1);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Gcrypt_KeySchedule128);
#endif

// ---- sealing ---------------------------------------------------------------

std::string Field300() {
    std::string text;
    for (int i = 0; i < 300; ++i) text += static_cast<char>('!' + i % 90);
    return text;
}

void BM_SealText300(benchmark::State& state) {
    CPasswordSealer sealer;
    const std::string field = Field300();
    for (auto _ : state) benchmark::DoNotOptimize(sealer.SealText("unlock password", field, 0));
}
BENCHMARK(BM_SealText300);

void BM_UnsealText300(benchmark::State& state) {
    CPasswordSealer sealer;
    const std::string sealed = sealer.SealText("unlock password", Field300(), 0);
    for (auto _ : state) {
        std::string plain = sealer.UnsealText(sealed, "unlock password");
        benchmark::DoNotOptimize(plain);
        WipeString(plain);
    }
}
BENCHMARK(BM_UnsealText300);

// ---- whole lists on a real store ------------------------------------------------

const std::string kBenchPassword = "bench password";
const std::string kOtherPassword = "other password";

void FillList(CMemoryItemList& list, int count) {
    char location[32];
    for (int i = 0; i < count; ++i) {
        std::snprintf(location, sizeof location, "www.site%05d.example", i);
        const int row = list.AppendRow(location);
        list.SetText(row, kColUrl, std::string("https://") + location + "/login");
        list.SetText(row, kColUserId, "user" + std::to_string(i) + "@example.org");
        list.SetText(row, kColHint, "the usual one");
        list.SetText(row, kColNote, "changed every spring, last in April");
        list.SetText(row, kColPassword, "p4ss-" + std::to_string(i * 7919));
    }
}

struct BenchStore {
    BenchStore() {
        bool created = false;
        store.OpenBranch(CRegistryStore::kBranchPath, CRegistryStore::kRootKey, &created);
    }
    keynest_test::TempDir dir;
    CRegistryStore store{dir.File("keynest.db")};
    CPasswordSealer sealer;
    CItemStore items{store, sealer};
};

void BM_SaveAllItems(benchmark::State& state) {
    BenchStore bench;
    CMemoryItemList list;
    FillList(list, static_cast<int>(state.range(0)));
    // Alternating keys make every save change every stored value, as a
    // change of the UnLock password does.
    bool other = false;
    for (auto _ : state) {
        if (!bench.items.SaveAllItems(list, other ? kOtherPassword : kBenchPassword)) {
            state.SkipWithError("save failed");
        }
        other = !other;
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveAllItems)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadAllItems(benchmark::State& state) {
    BenchStore bench;
    {
        CMemoryItemList list;
        FillList(list, static_cast<int>(state.range(0)));
        if (!bench.items.SaveAllItems(list, kBenchPassword)) state.SkipWithError("save failed");
    }
    CMemoryItemList loaded;
    for (auto _ : state) {
        if (!bench.items.LoadAllItems(loaded, kBenchPassword).ok ||
            loaded.RowCount() != state.range(0)) {
            state.SkipWithError("load lost Items");
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadAllItems)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Opening the store runs the full integrity check of the file.
void BM_OpenStore(benchmark::State& state) {
    keynest_test::TempDir dir;
    const std::string file = dir.File("keynest.db");
    {
        CRegistryStore store(file);
        store.OpenBranch(CRegistryStore::kBranchPath, CRegistryStore::kRootKey, nullptr);
        CPasswordSealer sealer;
        CItemStore items(store, sealer);
        CMemoryItemList list;
        FillList(list, static_cast<int>(state.range(0)));
        if (!items.SaveAllItems(list, kBenchPassword)) state.SkipWithError("save failed");
    }
    for (auto _ : state) {
        CRegistryStore store(file);
        if (!store.OpenBranch(CRegistryStore::kBranchPath, CRegistryStore::kRootKey, nullptr)) {
            state.SkipWithError("open failed");
        }
    }
}
BENCHMARK(BM_OpenStore)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---- the hardened format ----------------------------------------------------------

// One guess against a stolen store of each format, done as an attacker
// would: the first format's check value is the password sealed under
// itself; the hardened one needs a full derivation before its verifier can
// be tried.
void BM_GuessKeyTextFormat(benchmark::State& state) {
    CPasswordSealer sealer;
    const std::string checkValue = sealer.SealText(kBenchPassword, kBenchPassword, 0);
    std::string guess = "guess-000000";
    int n = 0;
    for (auto _ : state) {
        std::snprintf(guess.data() + 6, 7, "%06d", n++ % 1000000);
        benchmark::DoNotOptimize(sealer.SealText(guess, guess, 0) == checkValue);
    }
}
BENCHMARK(BM_GuessKeyTextFormat);

void BM_GuessHardenedFormat(benchmark::State& state) {
    const std::array<std::uint8_t, kVaultSaltBytes> salt{7};
    std::array<std::uint8_t, kVaultKeyBytes> key{};
    for (auto _ : state) {
        if (!DeriveKeyArgon2id("guess", salt, kDefaultKdfParams, key)) state.SkipWithError("derivation failed");
    }
}
BENCHMARK(BM_GuessHardenedFormat)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// A vault converted with cheap parameters: the figures are the Items' cost
// on top of one derivation.
struct HardenedBench : BenchStore {
    explicit HardenedBench(int count) {
        FillList(list, count);
        ok = vault.ChooseFirstPassword(kBenchPassword) && vault.ConvertToHardened(list, {64, 1, 1});
    }
    CVault vault{store};
    CMemoryItemList list;
    bool ok = false;
};

void BM_SaveHardened(benchmark::State& state) {
    HardenedBench bench(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (!bench.ok || !bench.vault.SaveAllItems(bench.list)) state.SkipWithError("save failed");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveHardened)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadHardened(benchmark::State& state) {
    HardenedBench bench(static_cast<int>(state.range(0)));
    CMemoryItemList loaded;
    for (auto _ : state) {
        if (!bench.ok || !bench.vault.LoadAllItems(loaded).ok || loaded.RowCount() != state.range(0)) {
            state.SkipWithError("load lost Items");
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadHardened)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---- password health ---------------------------------------------------------------

// The report over a whole list: one estimate per distinct Password.
void BM_HealthReport(benchmark::State& state) {
    HardenedBench bench(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(BuildHealthReport(bench.list, bench.vault));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_HealthReport)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Strength while typing: one estimate of a password as long as the boxes take.
void BM_StrengthKeystroke(benchmark::State& state) {
    const std::string password(static_cast<std::size_t>(state.range(0)), 'k');
    std::string typed = password;
    int n = 0;
    for (auto _ : state) {
        typed[static_cast<std::size_t>(n % state.range(0))] = static_cast<char>('a' + n % 26);
        ++n;
        benchmark::DoNotOptimize(EstimateStrength(typed));
    }
}
BENCHMARK(BM_StrengthKeystroke)->Arg(16)->Arg(64)->Arg(300)->Unit(benchmark::kMicrosecond);

// ---- other programs' files -------------------------------------------------------

// Reading a CSV export of a whole list and planning its import into an
// empty vault: what `keynest-cli import FILE.csv` does before it stores.
void BM_ImportCsv(benchmark::State& state) {
    CMemoryItemList list;
    FillList(list, static_cast<int>(state.range(0)));
    const std::string csv = BuildCsvExport(list);
    for (auto _ : state) {
        ForeignFile file;
        std::string error;
        if (!ReadForeignFile(csv, ForeignFormat::kAuto, file, error)) state.SkipWithError("not read");
        const ImportPlan plan = PlanImport(file, CMemoryItemList(), kHardenedPasswordLimit);
        if (plan.toAdd.RowCount() != state.range(0)) state.SkipWithError("records lost");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ImportCsv)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---- ratios ----------------------------------------------------------------------

// Prints the usual console table and keeps the fastest real time of each
// benchmark (in seconds) for the summary.
// Prints the usual console table and keeps the fastest real and CPU time
// of each benchmark (in seconds) for the summary.
class CRatioReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& reports) override {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
            const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
            Keep(m_real, run.benchmark_name(), run.GetAdjustedRealTime() / unit);
            Keep(m_cpu, run.benchmark_name(), run.GetAdjustedCPUTime() / unit);
        }
    }

    void PrintSummary() const {
        // CPU time: on a shared machine the wall clock also counts the
        // time other processes held the processor.
        std::printf("\nOurs over theirs, CPU time (below 1.00 means ours is faster):\n");
        std::printf("  %-16s %10s %10s %10s %8s %8s\n", "", "ours ns", "nettle ns", "gcrypt ns",
                    "/nettle", "/gcrypt");
        for (const char* what :
             {"EncryptBlock", "DecryptBlock", "EncryptBulk", "DecryptBulk", "KeySchedule128"}) {
            const double ours = Get(m_cpu, std::string("BM_Ours_") + what);
            const double nettle = Get(m_cpu, std::string("BM_Nettle_") + what);
            const double gcrypt = Get(m_cpu, std::string("BM_Gcrypt_") + what);
            std::printf("  %-16s %10s %10s %10s %8s %8s\n", what, Ns(ours).c_str(),
                        Ns(nettle).c_str(), Ns(gcrypt).c_str(), Ratio(ours, nettle).c_str(),
                        Ratio(ours, gcrypt).c_str());
        }
        std::printf("\nWhole lists (target: 10,000 Items under 0.25 s each way):\n");
        std::printf("  %-32s %10s %10s\n", "", "real s", "CPU s");
        for (const char* name :
             {"BM_SaveAllItems/1000/real_time", "BM_SaveAllItems/10000/real_time",
              "BM_LoadAllItems/1000/real_time", "BM_LoadAllItems/10000/real_time",
              "BM_SaveHardened/10000/real_time", "BM_LoadHardened/10000/real_time",
              "BM_HealthReport/10000/real_time", "BM_ImportCsv/10000/real_time"}) {
            const double real = Get(m_real, name);
            if (real > 0) std::printf("  %-32s %10.3f %10.3f\n", name, real, Get(m_cpu, name));
        }
        const double keyText = Get(m_cpu, "BM_GuessKeyTextFormat");
        const double hardened = Get(m_cpu, "BM_GuessHardenedFormat/iterations:3/real_time");
        if (keyText > 0 && hardened > 0) {
            std::printf("\nGuesses per second on one core against a stolen store:\n");
            std::printf("  first format %12.0f\n  hardened     %12.2f  (one derivation: %.3f s)\n",
                        1 / keyText, 1 / hardened, hardened);
        }
    }

private:
    using Times = std::map<std::string, double>;

    static void Keep(Times& times, const std::string& name, double seconds) {
        const auto found = times.find(name);
        if (found == times.end() || seconds < found->second) times[name] = seconds;
    }
    static double Get(const Times& times, const std::string& name) {
        const auto found = times.find(name);
        return found == times.end() ? 0.0 : found->second;
    }
    static std::string Ns(double seconds) {
        if (seconds <= 0) return "-";
        char text[32];
        std::snprintf(text, sizeof text, "%.1f", seconds * 1e9);
        return text;
    }
    static std::string Ratio(double ours, double theirs) {
        if (ours <= 0 || theirs <= 0) return "-";
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", ours / theirs);
        return text;
    }

    Times m_real;
    Times m_cpu;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reporter.PrintSummary();
    return 0;
}
