// The setup dialog, drawn with Dear ImGui in a small borderless SDL window. Its layout follows
// the dialog's table in dialog units, scaled to pixels; dragging any free point of the
// background moves the window (SDL hit test), Enter is OK and Escape is Cancel. From the
// keyboard alone: Tab and Shift+Tab move the focus, Space toggles or presses the focused
// control (or opens the list), Up and Down change the resolution.
#include "SetupDialog.h"

#include "Settings.h"
#include "VideoStart.h"

#include <SDL.h>                    // Required for: windows, renderer, events, hit test
#include <imgui.h>                  // Required for: the dialog's controls
#include <imgui_impl_sdl.h>         // Required for: ImGui input from SDL events
#include <imgui_impl_sdlrenderer.h> // Required for: ImGui drawing through SDL_Renderer

#include <cfloat> // Required for: FLT_MAX
#include <cstdio> // Required for: fprintf

namespace
{
	// Dialog units to pixels: the dialog is 147 x 127 units, 294 x 254 pixels.
	const float pixelsPerUnit = 2.0f;
	const float fontPixels = 14.0f;
#ifdef _WIN32
	// Windows has no DejaVu: the release carries Debian's copy in its run directory.
	const char* const fontPath = "Data/DejaVuSans.ttf";
#else
	const char* const fontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
#endif
	const char* const creditText = "\nCORVALE APP STUDIO\n\nPIRROW DRUMLOW";

	struct UnitRect
	{
		int x, y, cx, cy;
	};

	const UnitRect dialogRect = { 0, 0, 147, 127 };
	const UnitRect okRect = { 22, 105, 50, 14 };
	const UnitRect cancelRect = { 74, 105, 50, 14 };
	const UnitRect creditRect = { 5, 5, 137, 48 };
	const UnitRect fullscreenRect = { 27, 74, 65, 8 };
	const UnitRect mustacheRect = { 27, 87, 65, 8 };
	// The list's height includes its drop-down part; the closed box is one row of text.
	const UnitRect resolutionRect = { 22, 53, 102, 60 };

	// The controls in tab order; the disabled "Mustache" box takes no focus.
	enum Control
	{
		ResolutionList,
		FullscreenBox,
		OkButton,
		CancelButton,
		focusableControls
	};

	const ImU32 focusColour = IM_COL32(0, 84, 153, 255);

	ImVec2 toPixels(int x, int y)
	{
		return ImVec2(x * pixelsPerUnit, y * pixelsPerUnit);
	}

	// The dialog's state while it is shown.
	struct Dialog
	{
		SDL_Window* window = nullptr;
		SDL_Renderer* renderer = nullptr;
		int resolution = 1;
		bool fullscreen = false;
		bool mustache = true;
		int result = 0;

		// Areas of the controls (and of an open drop-down) in window pixels, as last drawn;
		// everywhere else the background drags the window.
		SDL_Rect controls[8] = {};
		int controlCount = 0;
		bool popupOpen = false;
		bool closeList = false; // Enter or Escape while the list is open closes only the list
		bool toggleList = false; // Space on the list opens or closes it
		int focus = ResolutionList;
	};

	SDL_Rect toSdlRect(const ImVec2& min, const ImVec2& max)
	{
		return { int(min.x), int(min.y), int(max.x - min.x + 0.5f), int(max.y - min.y + 0.5f) };
	}

	void addControl(Dialog& dialog, const ImVec2& min, const ImVec2& max)
	{
		if (dialog.controlCount < int(sizeof dialog.controls / sizeof dialog.controls[0]))
			dialog.controls[dialog.controlCount++] = toSdlRect(min, max);
	}

	// Records the control just drawn: its area for the hit test, a click moves the focus to it,
	// and the focused one wears a frame.
	void addLastItem(Dialog& dialog, int control = -1)
	{
		const ImVec2 min = ImGui::GetItemRectMin();
		const ImVec2 max = ImGui::GetItemRectMax();
		addControl(dialog, min, max);
		if (control < 0)
			return;
		if (ImGui::IsItemActivated())
			dialog.focus = control;
		if (dialog.focus == control)
			ImGui::GetWindowDrawList()->AddRect(ImVec2(min.x - 3.0f, min.y - 3.0f), ImVec2(max.x + 3.0f, max.y + 3.0f),
				focusColour, 2.0f, 0, 1.5f);
	}

	SDL_HitTestResult SDLCALL hitTest(SDL_Window*, const SDL_Point* point, void* data)
	{
		const Dialog& dialog = *static_cast<const Dialog*>(data);
		for (int i = 0; i < dialog.controlCount; ++i)
			if (SDL_PointInRect(point, &dialog.controls[i]))
				return SDL_HITTEST_NORMAL;
		return SDL_HITTEST_DRAGGABLE;
	}

	void applyStyle()
	{
		ImGui::StyleColorsLight();
		ImGuiStyle& style = ImGui::GetStyle();
		style.WindowPadding = ImVec2(0.0f, 0.0f);
		style.WindowRounding = 0.0f;
		style.WindowBorderSize = 1.0f;
		style.FrameBorderSize = 1.0f;
		style.FrameRounding = 2.0f;
		style.PopupBorderSize = 1.0f;
		style.ItemInnerSpacing = ImVec2(6.0f, 0.0f);
		ImVec4* colours = style.Colors;
		colours[ImGuiCol_WindowBg] = ImVec4(0.94f, 0.94f, 0.94f, 1.0f);
		colours[ImGuiCol_Border] = ImVec4(0.45f, 0.45f, 0.45f, 1.0f);
		colours[ImGuiCol_FrameBg] = ImVec4(1.0f, 1.0f, 1.0f, 1.0f);
		colours[ImGuiCol_Button] = ImVec4(0.88f, 0.88f, 0.88f, 1.0f);
		colours[ImGuiCol_ButtonHovered] = ImVec4(0.90f, 0.94f, 0.99f, 1.0f);
		colours[ImGuiCol_ButtonActive] = ImVec4(0.80f, 0.89f, 0.97f, 1.0f);
		colours[ImGuiCol_CheckMark] = ImVec4(0.13f, 0.13f, 0.13f, 1.0f);
		colours[ImGuiCol_FrameBgHovered] = ImVec4(0.90f, 0.94f, 0.99f, 1.0f);
		colours[ImGuiCol_FrameBgActive] = ImVec4(0.80f, 0.89f, 0.97f, 1.0f);
	}

	// The static credit text: each line centred in its rectangle.
	void drawCredit()
	{
		const float lineHeight = ImGui::GetTextLineHeight();
		const ImVec2 origin = toPixels(creditRect.x, creditRect.y);
		const float width = creditRect.cx * pixelsPerUnit;
		const char* line = creditText;
		for (int row = 0; line; ++row)
		{
			const char* end = SDL_strchr(line, '\n');
			const char* lineEnd = end ? end : line + SDL_strlen(line);
			const float lineWidth = ImGui::CalcTextSize(line, lineEnd).x;
			ImGui::SetCursorPos(ImVec2(origin.x + (width - lineWidth) * 0.5f, origin.y + row * lineHeight));
			ImGui::TextUnformatted(line, lineEnd);
			line = end ? end + 1 : nullptr;
		}
	}

	void drawResolutionList(Dialog& dialog)
	{
		ImGui::SetCursorPos(toPixels(resolutionRect.x, resolutionRect.y));
		ImGui::SetNextItemWidth(resolutionRect.cx * pixelsPerUnit);
		ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(6.0f, 5.0f));
		ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(4.0f, 4.0f));
		ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, ImVec2(4.0f, 3.0f));
		dialog.popupOpen = false;
		if (dialog.toggleList)
		{
			// The combo's own popup id lies in the combo's id scope; opening it is a click's work.
			ImGui::PushID("##resolution");
			ImGui::OpenPopup("##ComboPopup");
			ImGui::PopID();
			dialog.toggleList = false;
		}
		if (ImGui::BeginCombo("##resolution", resolutions[dialog.resolution].label))
		{
			dialog.popupOpen = true;
			for (int row = 0; row < 3; ++row)
			{
				const bool selected = row == dialog.resolution;
				if (ImGui::Selectable(resolutions[row].label, selected))
					dialog.resolution = row;
				if (selected)
					ImGui::SetItemDefaultFocus();
			}
			if (dialog.closeList)
				ImGui::CloseCurrentPopup();
			addControl(dialog, ImGui::GetWindowPos(),
				ImVec2(ImGui::GetWindowPos().x + ImGui::GetWindowSize().x, ImGui::GetWindowPos().y + ImGui::GetWindowSize().y));
			ImGui::EndCombo();
		}
		ImGui::PopStyleVar(3);
		dialog.closeList = false;
		addLastItem(dialog, ResolutionList);
	}

	void drawCheckBoxes(Dialog& dialog)
	{
		ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(1.0f, 1.0f));
		ImGui::SetCursorPos(toPixels(fullscreenRect.x, fullscreenRect.y));
		ImGui::Checkbox("Longboard", &dialog.fullscreen);
		addLastItem(dialog, FullscreenBox);

		ImGui::SetCursorPos(toPixels(mustacheRect.x, mustacheRect.y));
		ImGui::BeginDisabled();
		ImGui::Checkbox("Mustache", &dialog.mustache);
		ImGui::EndDisabled();
		addLastItem(dialog);
		ImGui::PopStyleVar();
	}

	void drawButtons(Dialog& dialog)
	{
		const ImVec2 size = toPixels(okRect.cx, okRect.cy);
		// The default button wears a darker frame, as Enter presses it.
		ImGui::PushStyleVar(ImGuiStyleVar_FrameBorderSize, 2.0f);
		ImGui::PushStyleColor(ImGuiCol_Border, ImVec4(0.0f, 0.47f, 0.84f, 1.0f));
		ImGui::SetCursorPos(toPixels(okRect.x, okRect.y));
		if (ImGui::Button("Organic Mocha", size))
			dialog.result = SetupDialog::ok;
		addLastItem(dialog, OkButton);
		ImGui::PopStyleColor();
		ImGui::PopStyleVar();

		ImGui::SetCursorPos(toPixels(cancelRect.x, cancelRect.y));
		if (ImGui::Button("Monsanto", toPixels(cancelRect.cx, cancelRect.cy)))
			dialog.result = SetupDialog::cancel;
		addLastItem(dialog, CancelButton);
	}

	void drawFrame(Dialog& dialog)
	{
		ImGui_ImplSDLRenderer_NewFrame();
		ImGui_ImplSDL2_NewFrame();
		// The backend reads SDL's global pointer state, which on X servers without raw input
		// events (Xvfb, some remote desktops) stays where the pointer first was; the pointer
		// position SDL tracks from the dialog's own motion events is always current.
		int pointerX = 0;
		int pointerY = 0;
		SDL_GetMouseState(&pointerX, &pointerY);
		ImGui::GetIO().MousePos = SDL_GetMouseFocus() == dialog.window ? ImVec2(float(pointerX), float(pointerY))
																		: ImVec2(-FLT_MAX, -FLT_MAX);
		ImGui::NewFrame();

		dialog.controlCount = 0;
		ImGui::SetNextWindowPos(ImVec2(0.0f, 0.0f));
		ImGui::SetNextWindowSize(toPixels(dialogRect.cx, dialogRect.cy));
		ImGui::Begin("Setup", nullptr,
			ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings
				| ImGuiWindowFlags_NoBringToFrontOnFocus);
		drawCredit();
		drawCheckBoxes(dialog);
		drawButtons(dialog);
		// Last, so that its drop-down covers the controls below it.
		drawResolutionList(dialog);
		ImGui::End();

		ImGui::Render();
		SDL_SetRenderDrawColor(dialog.renderer, 240, 240, 240, 255);
		SDL_RenderClear(dialog.renderer);
		ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
		SDL_RenderPresent(dialog.renderer);
	}

	// Space acts on the focused control as a click would.
	void pressFocused(Dialog& dialog)
	{
		switch (dialog.focus)
		{
		case ResolutionList:
			if (dialog.popupOpen)
				dialog.closeList = true;
			else
				dialog.toggleList = true;
			break;
		case FullscreenBox:
			dialog.fullscreen = !dialog.fullscreen;
			break;
		case OkButton:
			dialog.result = SetupDialog::ok;
			break;
		case CancelButton:
			dialog.result = SetupDialog::cancel;
			break;
		}
	}

	// Tab, Space, Up and Down; true when the key was one of them.
	bool handleKeyboardControl(Dialog& dialog, const SDL_KeyboardEvent& key)
	{
		switch (key.keysym.sym)
		{
		case SDLK_TAB:
			dialog.focus = (dialog.focus + ((key.keysym.mod & KMOD_SHIFT) ? focusableControls - 1 : 1)) % focusableControls;
			if (dialog.popupOpen)
				dialog.closeList = true;
			return true;
		case SDLK_SPACE:
			if (!key.repeat)
				pressFocused(dialog);
			return true;
		case SDLK_UP:
		case SDLK_DOWN:
		{
			// Like the list box: the selection stops at the first and the last row.
			const int step = key.keysym.sym == SDLK_UP ? -1 : 1;
			const int rows = int(sizeof resolutions / sizeof resolutions[0]);
			dialog.resolution = SDL_clamp(dialog.resolution + step, 0, rows - 1);
			return true;
		}
		default:
			return false;
		}
	}

	// Enter and Escape end the dialog unless the drop-down is open, which they close instead.
	void handleEvent(Dialog& dialog, const SDL_Event& event)
	{
		if (event.type == SDL_KEYDOWN && handleKeyboardControl(dialog, event.key))
			return;
		const bool enterOrEscape = event.type == SDL_KEYDOWN
			&& (event.key.keysym.sym == SDLK_RETURN || event.key.keysym.sym == SDLK_KP_ENTER || event.key.keysym.sym == SDLK_ESCAPE);
		if (enterOrEscape && dialog.popupOpen)
		{
			dialog.closeList = true;
			return;
		}
		const bool closeBox = event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE
			&& event.window.windowID == SDL_GetWindowID(dialog.window);
		if (event.type == SDL_QUIT || closeBox)
		{
			dialog.result = SetupDialog::cancel;
			return;
		}
		if (enterOrEscape)
		{
			dialog.result = event.key.keysym.sym == SDLK_ESCAPE ? SetupDialog::cancel : SetupDialog::ok;
			return;
		}
		ImGui_ImplSDL2_ProcessEvent(&event);
	}

	bool open(Dialog& dialog)
	{
		const ImVec2 size = toPixels(dialogRect.cx, dialogRect.cy);
		dialog.window = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, int(size.x), int(size.y),
			SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
		if (!dialog.window)
			return false;
		// A few hundred pixels need no GPU; the show's window is the program's one OpenGL user.
		dialog.renderer = SDL_CreateRenderer(dialog.window, -1, SDL_RENDERER_SOFTWARE);
		if (!dialog.renderer)
			return false;
		SDL_SetWindowHitTest(dialog.window, hitTest, &dialog);

		ImGui::CreateContext();
		ImGuiIO& io = ImGui::GetIO();
		io.IniFilename = nullptr; // the program writes nothing
		io.LogFilename = nullptr;
		if (!io.Fonts->AddFontFromFileTTF(fontPath, fontPixels))
			io.Fonts->AddFontDefault();
		applyStyle();
		ImGui_ImplSDL2_InitForSDLRenderer(dialog.window);
		ImGui_ImplSDLRenderer_Init(dialog.renderer);

		SDL_ShowWindow(dialog.window);
		SDL_RaiseWindow(dialog.window);
		return true;
	}

	void close(Dialog& dialog)
	{
		if (ImGui::GetCurrentContext())
		{
			ImGui_ImplSDLRenderer_Shutdown();
			ImGui_ImplSDL2_Shutdown();
			ImGui::DestroyContext();
		}
		if (dialog.renderer)
			SDL_DestroyRenderer(dialog.renderer);
		if (dialog.window)
			SDL_DestroyWindow(dialog.window);
	}
}

int SetupDialog::run()
{
	if (!startVideoOnAScreen())
	{
		std::fprintf(stderr, "Could not show the setup dialog: %s\n", whyNoScreen().c_str());
		return failed;
	}

	Settings& settings = Settings::get();
	Dialog dialog;
	dialog.resolution = settings.resolution;
	dialog.fullscreen = settings.fullscreen;
	dialog.mustache = settings.mustache;

	if (!open(dialog))
	{
		std::fprintf(stderr, "Could not show the setup dialog: %s\n", SDL_GetError());
		close(dialog);
		SDL_QuitSubSystem(SDL_INIT_VIDEO);
		return failed;
	}

	// The dialog sleeps until something happens; a few frames after each event let ImGui
	// settle hover states and open or close the drop-down.
	int framesToDraw = 3;
	while (dialog.result == 0)
	{
		if (framesToDraw > 0)
		{
			drawFrame(dialog);
			--framesToDraw;
		}
		SDL_Event event;
		if (framesToDraw > 0 ? SDL_PollEvent(&event) : SDL_WaitEventTimeout(&event, 500))
		{
			do
				handleEvent(dialog, event);
			while (dialog.result == 0 && SDL_PollEvent(&event));
			framesToDraw = 3;
		}
	}

	if (dialog.result == ok)
	{
		settings.resolution = dialog.resolution;
		settings.fullscreen = dialog.fullscreen;
		settings.mustache = dialog.mustache;
	}
	close(dialog);
	SDL_QuitSubSystem(SDL_INIT_VIDEO);
	return dialog.result;
}
