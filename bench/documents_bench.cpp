#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

#include "host/card/core/card_folder.h"
#include "ops/documents.h"
#include "system/platform.h"
#include "system/system_state.h"
#include "ui/navigation.h"
#include "ui/screen.h"

// One knob step down and one back up in the checklist list of a card with
// 10,000 checklists, the list drawn on both passes.
static void BM_DocumentListStep(benchmark::State& state)
{
    const std::filesystem::path dir = host::make_temp_card_dir("doc-list-bench");
    const std::filesystem::path folder = dir / "SDCARD" / "CHECKLST";
    std::filesystem::create_directories(folder);
    for (int i = 0; i < 10000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "CHECKLIST %05d.ECL", i);
        if (std::FILE* f = std::fopen((folder / name).c_str(), "wb")) std::fclose(f);
    }
    {
        host::CardFolder card(dir);
        ems::set_platform({.card = &card});
        ems::sys.sd_card_present = ems::sys.sd_card_mounted = 1;
        ems::doc_open_list(true);
        ems::docs.doc_pos = 5000;
        ems::nav.menu_cursor = 10;
        for (auto _ : state) {
            ems::KeyEvent = ems::KEY_CW;
            ems::popup_doc_list();
            ems::KeyEvent = ems::KEY_CCW;
            ems::popup_doc_list();
            benchmark::DoNotOptimize(ems::docs.doc_names);
        }
        ems::set_platform({});
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}
BENCHMARK(BM_DocumentListStep)->Unit(benchmark::kMicrosecond);
