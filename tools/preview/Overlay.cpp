#include "Overlay.h"

#include "Demo.h"
#include "Meter.h"
#include "ShowPosition.h"
#include "PanelKeys.h"
#include "Transport.h"

#include <imgui.h>
#include <imgui_impl_opengl2.h>
#include <imgui_impl_sdl.h>

#include <algorithm> // Required for: max()

namespace
{
	const ImU32 sectionColours[] = { IM_COL32(52, 74, 110, 220), IM_COL32(82, 60, 40, 220) };
}

Overlay::Overlay(SDL_Window* window, SDL_GLContext context)
{
	IMGUI_CHECKVERSION();
	ImGui::CreateContext();
	ImGui::GetIO().IniFilename = nullptr; // nothing written beside the run directory
	ImGui::StyleColorsDark();
	ImGui_ImplSDL2_InitForOpenGL(window, context);
	ImGui_ImplOpenGL2_Init();
}

Overlay::~Overlay()
{
	ImGui_ImplOpenGL2_Shutdown();
	ImGui_ImplSDL2_Shutdown();
	ImGui::DestroyContext();
}

bool Overlay::handleEvent(const SDL_Event& event)
{
	ImGui_ImplSDL2_ProcessEvent(&event);
	const bool mouse = event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_MOUSEBUTTONUP || event.type == SDL_MOUSEWHEEL;
	return visible && mouse && ImGui::GetIO().WantCaptureMouse;
}

void Overlay::draw(const OverlayState& state, const MusicSections& sections, Transport& transport)
{
	// The text grows with the window: its built-in font is drawn for about 600 lines.
	ImGui::GetIO().FontGlobalScale = std::max(1.0f, ImGui::GetIO().DisplaySize.y / 600.0f);
	ImGui_ImplOpenGL2_NewFrame();
	ImGui_ImplSDL2_NewFrame();
	ImGui::NewFrame();
	if (visible)
	{
		const ImVec2 display = ImGui::GetIO().DisplaySize;
		ImGui::SetNextWindowPos(ImVec2(8.0f, 8.0f));
		ImGui::SetNextWindowSize(ImVec2(display.x - 16.0f, 0.0f));
		ImGui::SetNextWindowBgAlpha(0.9f); // opaque enough to read over the brightest picture
		ImGui::Begin("preview", nullptr, ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoMove);

		const char* const name = Demo::sceneName(state.scene);
		const char* scene = name ? name : "(none)";
		ImGui::Text("%7.3f s   row %7.2f   bar:beat %s   scene %d %s   frame %5.1f ms   %s", state.seconds,
			Meter::rowAt(state.seconds), ShowPosition::formatBarBeat(state.seconds).c_str(), state.scene, scene,
			state.frameMs, transport.isPaused() ? "paused" : "playing");
		if (transport.isLooping())
		{
			ImGui::SameLine();
			ImGui::Text("  loop %s to %s", ShowPosition::formatBarBeat(transport.getLoopFrom()).c_str(),
				ShowPosition::formatBarBeat(transport.getLoopTo()).c_str());
		}
		drawStrip(state, sections, transport);
		ImGui::PushTextWrapPos(0.0f);
		for (const std::string* error : { state.trackError, state.shaderError })
			if (!error->empty())
				ImGui::TextColored(ImVec4(1.0f, 0.45f, 0.4f, 1.0f), "%s", error->c_str());
		static const std::string help = "Space pause, Left/Right a beat (Shift: a bar), Tab overlay; panel: " + panelKeyText("", ";  ");
		ImGui::TextColored(ImVec4(0.85f, 0.85f, 0.85f, 1.0f), "%s", help.c_str());
		ImGui::PopTextWrapPos();
		ImGui::End();
	}
	if (drawPanels)
		drawPanels();
	ImGui::Render();
	ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
}

void Overlay::drawStrip(const OverlayState& state, const MusicSections& sections, Transport& transport)
{
	const float width = ImGui::GetContentRegionAvail().x;
	const float height = ImGui::GetTextLineHeight() + 6.0f;
	const ImVec2 origin = ImGui::GetCursorScreenPos();
	if (ImGui::InvisibleButton("sections", ImVec2(width, height)))
		transport.seek((ImGui::GetIO().MousePos.x - origin.x) / width * Show::length);

	ImDrawList* draw = ImGui::GetWindowDrawList();
	auto x = [&](double seconds) { return origin.x + (float)(seconds / Show::length) * width; };
	for (size_t i = 0; i < sections.sections.size(); i++)
	{
		const MusicSection& section = sections.sections[i];
		draw->AddRectFilled(ImVec2(x(section.from), origin.y), ImVec2(x(section.to) - 1.0f, origin.y + height), sectionColours[i % 2]);
		draw->AddText(ImVec2(x(section.from) + 3.0f, origin.y + 3.0f), IM_COL32(230, 230, 230, 255), section.name.c_str());
	}
	for (const MusicCue& cue : sections.cues)
		draw->AddLine(ImVec2(x(cue.at), origin.y + height - 5.0f), ImVec2(x(cue.at), origin.y + height), IM_COL32(255, 200, 90, 255));
	if (transport.isLooping())
		draw->AddRect(ImVec2(x(transport.getLoopFrom()), origin.y), ImVec2(x(transport.getLoopTo()), origin.y + height),
			IM_COL32(120, 230, 255, 255), 0.0f, 0, 2.0f);
	const float now = x(state.seconds);
	draw->AddLine(ImVec2(now, origin.y - 2.0f), ImVec2(now, origin.y + height + 2.0f), IM_COL32(255, 255, 255, 255), 2.0f);
}
