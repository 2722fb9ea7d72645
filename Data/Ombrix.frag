#version 130
// Ombrix: a night field of carved monoliths on a black glass floor. Towers stand on a grid whose
// streets run along the world axes; windows (Cutouts) and diagonal cuts (Slashes) open them up,
// amber light burns in the windows, cyan light in the cuts, and the sky box fills the rest.
uniform float Time;
uniform float RotationTime;
uniform mat4 ViewRotation;
uniform samplerCube SkyboxTex;
uniform float SkyboxMix;
uniform float Color;
uniform float AoFactor;
uniform float Cutouts;
uniform float Slashes;
uniform float PlaneDistance;
uniform float RotationMix;
// The table of cell numbers around the eye, CellTableSize cells a side and centred on the eye's
// cell: the program writes it in a pass of its own (WritingCells), then reads it for the picture.
uniform sampler2D CellTable;
uniform float CellTableSize;
uniform bool WritingCells;

in vec2 screenPosition;
flat in vec3 eye;
flat in mat3 monolithTurn;

// Iteration caps keep the cost bounded on every pixel, software renderers included.
const int MARCH_STEPS = 96;
const int REFLECTION_STEPS = 40;
// The mirror image is dim and hazed: fewer, full-length steps over the same reach.
const int MIRROR_STEPS = 12;
const int SHADOW_STEPS = 8;
const float FAR = 90.0;
const float CELL = 9.0;
// No tower reaches higher above the glass: 4 + 24 units.
const float TALLEST = 28.0;

const float STONE = 0.0;
const float WINDOW = 1.0;
const float CUT = 2.0;

const vec3 AMBER = vec3(1.0, 0.42, 0.12);
const vec3 CYAN = vec3(0.2, 0.8, 1.0);
const vec3 SUN_DIRECTION = vec3(-0.25, 0.3, -0.92);
// The great carved cube hangs in front of the low sun, far enough away to move with the eye.
const float MONOLITH_DISTANCE = 160.0;
const float MONOLITH_SIZE = 26.0;
const int MONOLITH_STEPS = 48;

vec2 eyeCell;
const vec3 SLASH_NORMAL_A = normalize(vec3(0.8, 1.0, 0.35));
const vec3 SLASH_NORMAL_B = normalize(vec3(-0.9, 0.7, -0.25));

// Small whole powers by multiplying, where pow would take a logarithm and an exponential.
float pow2(float x)
{
	return x * x;
}

float pow3(float x)
{
	return x * x * x;
}

float pow5(float x)
{
	float x2 = x * x;
	return x2 * x2 * x;
}

float pow6(float x)
{
	float x3 = pow3(x);
	return x3 * x3;
}

float hash(vec2 p)
{
	return fract(sin(dot(p, vec2(127.1, 311.7))) * 43758.5453);
}

float hash(vec3 p)
{
	return fract(sin(dot(p, vec3(127.1, 311.7, 74.7))) * 43758.5453);
}

float boxDistance(vec3 p, vec3 halfSize)
{
	vec3 q = abs(p) - halfSize;
	return length(max(q, 0.0)) + min(max(q.x, max(q.y, q.z)), 0.0);
}

// Three infinite square bars crossing at every lattice point: subtracting them carves windows
// through a tower in all three directions, like one level of a Menger sponge.
float latticeCross(vec3 p, float period, float inversePeriod, float size)
{
	// Distances to the nearest lattice point along each axis, in periods: scaled back once.
	vec3 r = abs(fract(p * inversePeriod + 0.5) - 0.5);
	return period * min(max(r.x, r.y), min(max(r.y, r.z), max(r.z, r.x))) - size;
}

// Where p stands between two of the thin slabs repeated along a direction, from -0.5 to 0.5 of
// their period: the slabs sit at 0.
float slashPhase(vec3 p, vec3 normal, float period)
{
	return fract(dot(p, normal) / period) - 0.5;
}

// Which of q's three components is the middle one, as 1 on its axis: ties are rare enough to leave.
vec3 middleAxis(vec3 r)
{
	vec3 largest = step(r.yzx, r) * step(r.zxy, r);
	vec3 smallest = step(r, r.yzx) * step(r, r.zxy);
	return clamp(1.0 - largest - smallest, 0.0, 1.0);
}

// The direction in which latticeCross grows fastest at p: the nearest bar is the one along the
// axis farthest from a lattice point, and the other two axes decide how far p is from it.
vec3 latticeGradient(vec3 p, float inversePeriod)
{
	vec3 offset = fract(p * inversePeriod + 0.5) - 0.5;
	return sign(offset) * middleAxis(abs(offset));
}

// The direction in which a box's distance grows fastest at q: away from the nearest point of the
// box outside it, out through the nearest face inside.
vec3 boxGradient(vec3 q, vec3 halfSize)
{
	vec3 d = abs(q) - halfSize;
	vec3 face = step(d.yzx, d) * step(d.zxy, d);
	return sign(q) * (max(d.x, max(d.y, d.z)) > 0.0 ? max(d, 0.0) : face);
}

struct Hit
{
	float material;
	float depthInside;  // how far the point lies inside its tower's block
	float lit;          // 0..1: how brightly this window or cut burns
};

// A cell's three random numbers: its tower's height, width and spin, and whether it stays empty.
vec3 workOutCellHashes(vec2 cell)
{
	return vec3(hash(cell), hash(cell + 17.3), hash(cell - 5.1));
}

// The same numbers as this frame's table holds them: three sines fewer at every cell.
vec3 cellHashes(vec2 cell)
{
	ivec2 texel = ivec2(clamp(cell - eyeCell + 0.5 * CellTableSize, 0.0, CellTableSize - 1.0));
	return texelFetch(CellTable, texel, 0).xyz;
}

// One cell's tower, measured once where a ray or a surface point meets the cell: the march's
// steps within the cell read these instead of working them out again at each step.
struct Tower
{
	vec2 cell;
	vec3 hashes;
	vec2 center;       // of its footprint on the glass
	float halfHeight;
	float halfWidth;
	bool empty;        // some cells stay empty so the sky opens between the towers
	float twist;       // how far its turn grows per unit of height: each tower twists as it rises
	float period;      // of its windows' lattice
	float inversePeriod;
	float finePeriod;  // of the finer lattice that opens as Cutouts passes one half
	float windowSize;
	float fineSize;
	float cutWidth;
	// Windows and cuts carve no deeper than their own half width: a point farther than this from
	// the block sees the block alone.
	float carveDepth;
};

Tower towerOf(vec2 cell)
{
	Tower tower;
	tower.cell = cell;
	tower.hashes = cellHashes(cell);
	tower.center = (cell + 0.5) * CELL;
	tower.halfHeight = 0.5 * (4.0 + 24.0 * tower.hashes.x * tower.hashes.x);
	tower.halfWidth = 1.4 + 0.9 * tower.hashes.y;
	tower.empty = tower.hashes.z > 0.7;
	tower.twist = RotationMix * 0.1 * (tower.hashes.z - 0.5);
	tower.period = 2.0 * tower.halfWidth / 3.0;
	tower.finePeriod = tower.period / 3.0;
	tower.inversePeriod = 1.5 / tower.halfWidth;
	tower.windowSize = clamp(Cutouts, 0.0, 1.0) * tower.period * 0.34;
	tower.fineSize = clamp(Cutouts * 2.0 - 1.0, 0.0, 1.0) * tower.period * 0.1;
	tower.cutWidth = max(Slashes, 0.0) * 0.22;
	tower.carveDepth = max(max(tower.windowSize, tower.fineSize), tower.cutWidth);
	return tower;
}

// A tower's turn about its own axis at the height of p, as its cosine and sine: it spins with
// time and twists with height; the footprint's diagonal stays inside the cell, so the field stays
// continuous across cell borders.
vec2 towerTurn(vec3 p, Tower tower)
{
	vec3 hashes = tower.hashes;
	float spin = RotationMix * (RotationTime * (0.4 + hashes.z) * sign(hashes.y - 0.5) + hashes.x * 6.2832);
	float angle = spin + (p.y + PlaneDistance) * tower.twist;
	return vec2(cos(angle), sin(angle));
}

// The turn a little further round, by an angle a few tenths of a radian at most: what a march
// within one cell carries from step to step instead of a cosine and a sine each.
vec2 turnFurther(vec2 turn, float angle)
{
	float a2 = angle * angle;
	float c = 1.0 - a2 * (1.0 / 2.0 - a2 * (1.0 / 24.0 - a2 / 720.0));
	float s = angle * (1.0 - a2 * (1.0 / 6.0 - a2 * (1.0 / 120.0 - a2 / 5040.0)));
	return vec2(turn.x * c - turn.y * s, turn.y * c + turn.x * s);
}

// The uncarved block of a tower, whose turn at p's height the caller has worked out; q is the
// point in the tower's own turning frame, where its windows are cut.
float towerBlock(vec3 p, Tower tower, vec2 turn, out vec3 q)
{
	float y = p.y + PlaneDistance;
	vec2 local = p.xz - tower.center;
	q = vec3(turn.x * local.x - turn.y * local.y, y, turn.y * local.x + turn.x * local.y);

	return boxDistance(q - vec3(0.0, tower.halfHeight, 0.0), vec3(tower.halfWidth, tower.halfHeight, tower.halfWidth));
}

// Nothing stands in an empty cell: a point there is at least as far from stone as from the cell's
// walls, beyond which its neighbours stand. The march never steps inside an empty cell; the
// samples around the glass and the sun's rays do.
float emptyCellBound(vec3 p, Tower tower, float d)
{
	vec2 local = p.xz - tower.center;
	return tower.empty ? max(d, CELL * 0.5 - max(abs(local.x), abs(local.y))) : d;
}

// What is carved out of a tower at p (q in its turning frame), as distances: its windows, the finer
// lattice's where those are nearer, and its two families of cuts.
struct Carving
{
	float windows;
	bool fine;       // whether the finer lattice's windows are the nearer
	float cuts;      // the slabs of both families of cuts, subtracted from the towers
	vec3 cutNormal;  // the direction in which the nearer family's distance grows
};

Carving carvingAt(vec3 p, vec3 q, Tower tower)
{
	Carving carving;
	float windows = latticeCross(q, tower.period, tower.inversePeriod, tower.windowSize);
	float fineWindows = latticeCross(q, tower.finePeriod, 3.0 * tower.inversePeriod, tower.fineSize);
	carving.fine = tower.fineSize > 0.0 && fineWindows < windows;
	carving.windows = carving.fine ? fineWindows : windows;
	float phaseA = slashPhase(p, SLASH_NORMAL_A, 7.0);
	float phaseB = slashPhase(p + 2.0, SLASH_NORMAL_B, 9.0);
	float cutA = 7.0 * abs(phaseA) - tower.cutWidth;
	float cutB = 9.0 * abs(phaseB) - tower.cutWidth * 0.8;
	carving.cuts = tower.cutWidth > 0.0 ? min(cutA, cutB) : 1e3;
	carving.cutNormal = cutA < cutB ? sign(phaseA) * SLASH_NORMAL_A : sign(phaseB) * SLASH_NORMAL_B;
	return carving;
}

// A tower carved: its block with the windows and cuts taken out. What a surface point is made of
// is read where the light meets it (towerSurface), not at every step.
float carvedTower(vec3 p, Tower tower, vec2 turn)
{
	vec3 q;
	float block = towerBlock(p, tower, turn, q);
	// Most march steps end here, too far from the block for any carving to reach.
	if (block > tower.carveDepth)
		return block;
	Carving carving = carvingAt(p, q, tower);
	return max(block, max(-carving.windows, -carving.cuts));
}

// The camera never sits inside stone: a small bubble around the eye is always empty.
float eyeBubble(vec3 p)
{
	return 0.6 - length(p - eye);
}

// The scene at p + offset, near a surface point p of the given tower: the tower, the glass and the
// eye's bubble. Samples around one surface point share their tower and its turn.
float sceneNear(vec3 p, vec3 offset, Tower tower, vec2 turn)
{
	vec3 at = p + offset;
	float carved = emptyCellBound(at, tower, carvedTower(at, tower, turnFurther(turn, tower.twist * offset.y)));
	return max(min(carved, at.y + PlaneDistance), eyeBubble(at));
}

// A surface point the march has met, with the tower and turn it carried there: the material the
// light meets, and the normal, the gradient of whichever part decides the distance there (the
// tower's block, its windows, a cut, the glass or the eye's bubble), worked out once instead of by
// taps around the point.
vec3 towerSurface(vec3 p, Tower tower, vec2 turn, out Hit hit)
{
	vec3 q;
	float block = towerBlock(p, tower, turn, q);
	Carving carving = carvingAt(p, q, tower);
	float windows = carving.windows;
	float cuts = carving.cuts;
	float carved = max(block, max(-windows, -cuts));

	hit.material = STONE;
	hit.depthInside = -block;
	hit.lit = 0.0;
	if (carved > block + 1e-4)
	{
		if (-windows > -cuts)
		{
			hit.material = WINDOW;
			vec3 windowIndex = floor(q / tower.period + 0.5);
			vec3 hashes = tower.hashes;
			hit.lit = step(0.45 - 0.3 * hashes.y, hash(windowIndex + vec3(tower.cell, hashes.x) * 7.0));
		}
		else
		{
			hit.material = CUT;
			hit.lit = 1.0;
		}
	}

	// In the tower's turning frame: its block, or a window carved out of it.
	vec3 inTower = block >= max(-windows, -cuts)
		? boxGradient(q - vec3(0.0, tower.halfHeight, 0.0), vec3(tower.halfWidth, tower.halfHeight, tower.halfWidth))
		: -latticeGradient(q, carving.fine ? 3.0 * tower.inversePeriod : tower.inversePeriod);
	// Back to the world: undo the turn, and add what the twist adds as the height changes.
	vec3 gradient = vec3(turn.x * inTower.x + turn.y * inTower.z,
		inTower.y + tower.twist * (q.x * inTower.z - q.z * inTower.x),
		turn.x * inTower.z - turn.y * inTower.x);
	// A cut is carved in the world's frame.
	if (-cuts > max(block, -windows))
		gradient = -carving.cutNormal;
	float glass = p.y + PlaneDistance;
	if (glass < carved)
		gradient = vec3(0.0, 1.0, 0.0);
	if (eyeBubble(p) > min(carved, glass))
		gradient = eye - p;
	return normalize(gradient);
}

float ambientOcclusion(vec3 p, vec3 n)
{
	Tower tower = towerOf(floor(p.xz / CELL));
	vec2 turn = towerTurn(p, tower);
	float occlusion = 0.0;
	// Three samples, each standing in for its neighbours: 0.1 and 0.4, then 0.9 and 1.6, then 2.5.
	occlusion += 1.65 * (0.25 - sceneNear(p, n * 0.25, tower, turn));
	occlusion += 0.70 * (1.25 - sceneNear(p, n * 1.25, tower, turn));
	occlusion += 0.18 * (2.5 - sceneNear(p, n * 2.5, tower, turn));
	return clamp(1.0 - max(AoFactor, 0.0) * occlusion, 0.0, 1.0);
}

float softShadow(vec3 p, vec3 direction)
{
	float light = 1.0;
	float t = 0.05;
	int i = 0;
	bool done = false;
	while (i < SHADOW_STEPS && !done)
	{
		// Within one cell the steps share its tower and carry the tower's turn. The towers' blocks
		// alone shade: the light a window lets through lands as a speck too small to see.
		vec3 at = p + direction * t;
		Tower tower = towerOf(floor(at.xz / CELL));
		vec2 turn = towerTurn(at, tower);
		float twistAlong = tower.twist * direction.y;
		while (i < SHADOW_STEPS)
		{
			i++;
			// Towards the sun the ray only climbs away from the glass: the towers alone can shade it.
			vec3 q;
			float d = emptyCellBound(at, tower, towerBlock(at, tower, turn, q));
			light = min(light, 8.0 * d / t);
			float stride = clamp(d, 0.2, 3.0);
			t += stride;
			if (light < 0.02 || t > 30.0 || p.y + direction.y * t > TALLEST - PlaneDistance)
			{
				done = true;
				break;
			}
			at = p + direction * t;
			if (floor(at.xz / CELL) != tower.cell)
				break;
			turn = turnFurther(turn, twistAlong * stride);
		}
	}
	return clamp(light, 0.0, 1.0);
}

vec3 sky(vec3 direction)
{
	vec3 box = textureCube(SkyboxTex, direction).rgb;
	// Without the sky box the night is a plain gradient: black overhead, deep blue at the horizon.
	float horizon = exp(-abs(direction.y) * 5.0);
	vec3 gradient = vec3(0.005, 0.008, 0.02) + vec3(0.03, 0.04, 0.09) * horizon;
	return mix(gradient, box * box, clamp(SkyboxMix, 0.0, 1.0));
}

// The low sun: a wide disc the monolith eclipses, and a halo around it.
vec3 sun(vec3 direction)
{
	float towards = max(dot(direction, normalize(SUN_DIRECTION)), 0.0);
	float disc = smoothstep(0.972, 0.98, towards);
	float towards2 = towards * towards;
	float towards8 = pow2(pow2(towards2));
	float towards10 = towards8 * towards2;
	float towards16 = pow2(towards8);
	float towards90 = pow2(pow2(towards16)) * towards16 * towards10;
	return AMBER * (disc * 3.0 + towards90 * 0.5 + towards10 * 0.1);
}

const float MONOLITH_PERIOD = 2.0 * MONOLITH_SIZE / 3.0;

float monolithWindowSize()
{
	return MONOLITH_PERIOD * (0.22 + 0.14 * clamp(Cutouts, 0.0, 1.0));
}

// The monolith's windows and, inside them, its finer ones, as distances at q.
vec2 monolithWindows(vec3 q)
{
	float fineSize = MONOLITH_PERIOD * 0.1 * clamp(Cutouts * 1.5 - 0.2, 0.0, 1.0);
	return vec2(latticeCross(q, MONOLITH_PERIOD, 1.0 / MONOLITH_PERIOD, monolithWindowSize()),
		latticeCross(q, MONOLITH_PERIOD / 3.0, 3.0 / MONOLITH_PERIOD, fineSize));
}

float monolith(vec3 q)
{
	float cube = boxDistance(q, vec3(MONOLITH_SIZE));
	// The windows reach no farther out than their own half width: beyond it the cube alone counts.
	if (cube > monolithWindowSize())
		return cube;
	vec2 windows = monolithWindows(q);
	return max(cube, -min(windows.x, windows.y));
}

// The monolith's surface normal at q, in its own frame: the gradient of whichever of the cube, its
// windows and its fine windows decides the distance there, worked out once instead of by taps;
// cube is the cube's own distance at q.
vec3 monolithNormal(vec3 q, float cube)
{
	vec2 windows = monolithWindows(q);
	vec3 carving = windows.x < windows.y ? latticeGradient(q, 1.0 / MONOLITH_PERIOD) : latticeGradient(q, 3.0 / MONOLITH_PERIOD);
	return normalize(cube >= -min(windows.x, windows.y) ? boxGradient(q, vec3(MONOLITH_SIZE)) : -carving);
}

// The monolith along a ray that met nothing nearer: whether the ray meets it and, where it does,
// its surface normal and how deep into the cube the surface lies (0 on its faces, 1 well inside).
bool monolithHit(vec3 direction, out vec3 n, out float inside)
{
	n = vec3(0.0, 1.0, 0.0);
	inside = 0.0;
	// It moves with the eye, so it always stands at the same offset from it.
	vec3 toCenter = normalize(SUN_DIRECTION) * MONOLITH_DISTANCE;
	float bound = MONOLITH_SIZE * 1.75;
	float along = dot(toCenter, direction);
	float miss = dot(toCenter, toCenter) - along * along;
	if (miss > bound * bound)
		return false;

	// In the cube's own frame the ray meets its box between two distances, worked out in closed
	// form: a ray that misses the box is done, and one that hits it marches only inside it.
	vec3 origin = -toCenter * monolithTurn;
	vec3 ray = direction * monolithTurn;
	// Each axis's sign as +1 or -1 (never 0), and the ray's inverse slope along it.
	vec3 forward = 2.0 * step(0.0, ray) - 1.0;
	vec3 inverse = forward / max(abs(ray), 1e-6);
	vec3 near = (-forward * MONOLITH_SIZE - origin) * inverse;
	vec3 far = (forward * MONOLITH_SIZE - origin) * inverse;
	float t = max(max(near.x, near.y), near.z);
	float exit = min(min(far.x, far.y), far.z);
	if (t > exit)
		return false;
	vec3 q;
	bool found = false;
	for (int i = 0; i < MONOLITH_STEPS; i++)
	{
		q = origin + ray * t;
		float d = monolith(q);
		if (d < 0.02)
		{
			found = true;
			break;
		}
		t += d;
		if (t > exit)
			break;
	}
	if (!found)
		return false;

	float cube = boxDistance(q, vec3(MONOLITH_SIZE));
	n = monolithTurn * monolithNormal(q, cube);
	inside = clamp(-cube / (MONOLITH_SIZE * 0.3), 0.0, 1.0);
	return true;
}

// The monolith laid over the background, seen along direction, where its surface has normal n and
// skyAtNormal = sky(n): a silhouette lit from behind. The faces towards the eye stay dark, the rim
// and the window walls catch the sun.
vec3 monolithOver(vec3 background, vec3 direction, vec3 n, float inside, vec3 skyAtNormal)
{
	float rim = pow2(pow2(clamp(1.0 + dot(n, direction), 0.0, 1.0)));
	vec3 color = vec3(0.01, 0.012, 0.025) + skyAtNormal * 0.3 + AMBER * (rim * 0.8 + inside * inside * 2.0);
	return mix(background, color, 0.97);
}

// Haze between the eye and a surface: dark blue, warmed towards the low sun. skyThere is
// sky(direction), which the caller has read already.
vec3 haze(vec3 direction, vec3 skyThere)
{
	float towardsSun = max(dot(direction, normalize(SUN_DIRECTION)), 0.0);
	return skyThere * 0.5 + AMBER * 0.08 * pow6(towardsSun);
}

// The towers along a ray from start to end (both along the ray); -1 where it meets none. A cell
// whose tower the ray passes wide of is crossed in one step, to the cell's far side; near a tower
// the ray steps by its distance. At a hit, tower and turn are the hit's. Neighbouring pixels run
// in lockstep (a graphics card's warp, a software rasteriser's vector), so a loop costs each of
// them as many turns as the longest takes: the cells are crossed in a loop of their own, and the
// distance steps run only once a ray stands by a tower, not once for every cell crossed.
float marchTowers(vec3 origin, vec3 direction, float start, float end, int steps, float stride, bool fromEye,
	out Tower tower, out vec2 turn)
{
	vec3 away = step(0.0, direction);
	// Each axis's sign as +1 or -1 (never 0), and the ray's inverse slope along it.
	vec3 forward = 2.0 * away - 1.0;
	vec3 inverse = forward / max(abs(direction), 1e-6);
	float t = start;
	int i = 0;
	bool found = false;
	turn = vec2(1.0, 0.0);
	while (i < steps)
	{
		float cellExit = 0.0;
		float boxOut = 0.0;
		bool byTower = false;
		while (i < steps)
		{
			vec3 p = origin + direction * t;
			// The cell the ray is heading into, even standing on its border.
			vec2 cell = floor((p.xz + forward.xz * 1e-3) / CELL);
			vec2 exits = ((cell + away.xz) * CELL - origin.xz) * inverse.xz;
			cellExit = min(exits.x, exits.y);

			// The tower's bounds: a square around the circle its footprint spins in, floor to roof.
			tower = towerOf(cell);
			float reach = tower.halfWidth * sqrt(2.0) + 0.01;
			vec3 center = vec3(tower.center.x, tower.halfHeight - PlaneDistance, tower.center.y);
			vec3 halfSize = vec3(reach, tower.halfHeight + 0.01, reach);
			vec3 near = (center - halfSize * forward - origin) * inverse;
			vec3 far = (center + halfSize * forward - origin) * inverse;
			float boxIn = max(max(near.x, near.y), near.z);
			boxOut = min(min(far.x, far.y), far.z);
			if (!tower.empty && boxOut >= t && boxIn <= cellExit)
			{
				t = max(t, boxIn);
				byTower = true;
				break;
			}
			t = cellExit;
			i++;
			if (t > end)
				break;
		}
		if (!byTower)
			break;

		// Within the tower's bounds, every step reads the tower measured above, and carries its
		// turn along as the ray climbs or falls through its twist.
		turn = towerTurn(origin + direction * t, tower);
		float twistAlong = tower.twist * direction.y;
		while (i < steps)
		{
			i++;
			vec3 p = origin + direction * t;
			// From the eye the bubble's distance is 0.6 - t: no length to work out each step.
			float d = max(carvedTower(p, tower, turn), fromEye ? 0.6 - t : eyeBubble(p));
			if (d < 0.0015 * t + 0.001)
			{
				found = true;
				break;
			}
			float next = min(t + d * stride, cellExit);
			turn = turnFurther(turn, twistAlong * (next - t));
			t = next;
			if (t >= cellExit || t > boxOut || t > end)
				break;
		}
		if (found || t > end)
			break;
	}
	return found ? t : -1.0;
}

// Where a ray leaves the slab the towers stand in (above the glass, below the tallest roof).
float slabExit(vec3 origin, vec3 direction)
{
	float roof = TALLEST - PlaneDistance;
	return direction.y > 0.0 ? max(roof - origin.y, 0.0) / direction.y : FAR;
}

// The eye's ray. The floor is met in closed form; stepping down onto it from far above, as one
// march over towers and floor together would, runs out of steps beyond about 50 units at a
// grazing angle, and those pixels show the sky: that horizon is kept. Returns -1 for the sky;
// glass tells whether the ray ends on the floor.
float marchView(vec3 direction, out bool glass, out Tower tower, out vec2 turn)
{
	glass = false;
	float height = eye.y + PlaneDistance;
	float roof = TALLEST - PlaneDistance;
	float start = 0.0;
	if (eye.y > roof)
	{
		if (direction.y >= 0.0)
			return -1.0;
		start = (eye.y - roof) / -direction.y;
	}
	float floorT = direction.y < 0.0 ? height / -direction.y : 2.0 * FAR;
	float end = min(min(slabExit(eye, direction), floorT), FAR);
	float t = marchTowers(eye, direction, start, end, MARCH_STEPS, 0.8, true, tower, turn);
	if (t >= 0.0)
		return t;
	// The floor as the joint march would have reached it: each step covers 0.8 of the height left.
	float left = height * pow(1.0 - 0.8 * min(-direction.y, 1.0), float(MARCH_STEPS));
	if (floorT > FAR || left > 0.0015 * (height - left) / -direction.y + 0.001)
		return -1.0;
	glass = true;
	return floorT;
}

// The mirror image seen in the glass from p. Marched over towers and floor together, the ray
// climbs away from the glass by 0.8 of its height each step, so its steps reach only so far:
// that reach, worked out here, bounds the towers' march and keeps the mirror image as it was.
float marchMirror(vec3 p, vec3 mirrored, out Tower tower, out vec2 turn)
{
	float reach = 0.01 * (pow(1.0 + 0.8 * mirrored.y, float(REFLECTION_STEPS)) - 1.0) / max(mirrored.y, 1e-4);
	return marchTowers(p + vec3(0.0, 0.01, 0.0), mirrored, 0.0, min(min(reach, slabExit(p, mirrored)), FAR),
		MIRROR_STEPS, 1.0, false, tower, turn);
}

// Light leaving a tower's surface point with normal n: occlusion and the sun's shadow come in
// from the caller (1 where they are not worked out, as for the towers seen in the glass), and so
// does skyAtNormal, sky(n).
vec3 lightTower(vec3 p, vec3 direction, Hit hit, vec3 n, vec3 skyAtNormal, float occlusion, float shadow)
{
	vec3 sunDirection = normalize(SUN_DIRECTION);
	float facing = clamp(1.0 + dot(n, direction), 0.0, 1.0);
	float fresnel = 0.04 + 0.96 * pow5(facing);
	vec3 reflected = reflect(direction, n);
	float skyWeight = clamp(SkyboxMix, 0.0, 1.0);

	float diffuse = max(dot(n, sunDirection), 0.0) * shadow;
	float towardsSun = max(dot(reflected, sunDirection), 0.0);
	float specular = pow6(towardsSun * towardsSun * towardsSun * towardsSun) * diffuse;

	vec3 stone = vec3(0.06, 0.055, 0.06);
	vec3 color = stone * (AMBER * 3.0 * diffuse + skyAtNormal * 1.5 * occlusion)
		+ AMBER * specular * 0.6
		+ CYAN * 0.06 * pow3(facing) * occlusion
		+ sky(reflected) * fresnel * skyWeight * occlusion;

	// Windows flicker and cuts pulse: one sine serves whichever this is.
	float wave = sin(hit.material == WINDOW ? Time * 1.7 + p.y * 3.0 + p.x : dot(p, SLASH_NORMAL_B) * 1.3 - Time * 2.5);
	if (hit.material == WINDOW)
	{
		// Window interiors burn hotter the deeper they reach into the tower.
		float core = clamp(hit.depthInside / 1.5, 0.0, 1.0);
		float flicker = 0.85 + 0.15 * wave;
		color += AMBER * hit.lit * (0.3 + 3.5 * core * core) * flicker + AMBER * 0.04 * occlusion;
	}
	else if (hit.material == CUT)
	{
		float pulse = 0.55 + 0.45 * wave;
		float core = clamp(hit.depthInside / 1.0, 0.0, 1.0);
		color += CYAN * (0.4 + 2.5 * core) * pulse;
	}
	return color;
}

void main()
{
	// The rectangle spans -1..1 across the viewport, so the ratio of the screen position's
	// derivatives is the aspect ratio of whatever framebuffer this draws into.
	float aspect = dFdy(screenPosition.y) / dFdx(screenPosition.x);
	vec2 uv = screenPosition * vec2(aspect, 1.0);

	mat3 rotation = mat3(ViewRotation);
	eyeCell = floor(eye.xz / CELL);
	if (WritingCells)
	{
		// The table must hold the very numbers the sines give where they are read: the cell is made
		// by a floor, as the march makes it, so no constant of the sum can be folded into the hash.
		gl_FragColor = vec4(workOutCellHashes(floor(eyeCell + gl_FragCoord.xy - 0.5 * CellTableSize)), 1.0);
		return;
	}
	vec3 direction = normalize(vec3(uv * 0.75, -1.0) * rotation);

	// Each pixel lights at most one tower surface and looks at the sky along at most one ray: a
	// tower it sees, or in the black glass the tower or sky mirrored there. Those are worked out
	// once, whichever it is, so the costly parts run once per pixel.
	bool glass;
	Tower seen;
	vec2 seenTurn;
	float t = marchView(direction, glass, seen, seenTurn);
	vec3 p = eye + direction * max(t, 0.0);
	vec3 mirrored = reflect(direction, vec3(0.0, 1.0, 0.0));
	Tower mirrorTower;
	vec2 mirrorTurn;
	float mirrorT = glass ? marchMirror(p, mirrored, mirrorTower, mirrorTurn) : -1.0;

	vec3 along = glass ? mirrored : direction;
	float alongT = glass ? mirrorT : t;
	// The sky where the pixel's last ray leaves: its background, and what the glass and the haze
	// along that ray show, read once.
	vec3 skyAlong = sky(along);

	// The one surface the pixel lights: the tower along that ray, or else the monolith beyond.
	vec3 up = vec3(0.0, 1.0, 0.0);
	vec3 surface = glass ? p + mirrored * mirrorT : p;
	Hit hit;
	vec3 n = up;
	float inside = 0.0;
	bool onMonolith = false;
	if (alongT >= 0.0)
		n = towerSurface(surface, glass ? mirrorTower : seen, glass ? mirrorTurn : seenTurn, hit);
	else
		onMonolith = monolithHit(along, n, inside);
	vec3 skyAtNormal = sky(n);

	vec3 background = skyAlong + sun(along);
	if (onMonolith)
		background = monolithOver(background, along, n, inside, skyAtNormal);
	float occlusion = t >= 0.0 ? ambientOcclusion(p, glass ? up : n) : 1.0;
	float shadow = 1.0;
	if (!glass && t >= 0.0 && dot(n, SUN_DIRECTION) > 0.0)
		shadow = softShadow(p + n * 0.02, normalize(SUN_DIRECTION));
	vec3 tower = alongT >= 0.0
		? lightTower(surface, along, hit, n, skyAtNormal, glass ? 1.0 : occlusion, shadow)
		: vec3(0.0);

	vec3 color;
	if (t < 0.0)
		color = background;
	else
	{
		color = tower;
		if (glass)
		{
			// Black glass: the towers' lights stand mirrored in it.
			float facing = clamp(1.0 + direction.y, 0.0, 1.0);
			float glassFresnel = 0.04 + 0.96 * pow5(facing);
			color = (vec3(0.004, 0.005, 0.01) * occlusion
				+ skyAlong * (0.1 + 0.7 * glassFresnel) * clamp(SkyboxMix, 0.0, 1.0)) * occlusion;
			vec3 image = mirrorT < 0.0 ? background : mix(haze(mirrored, skyAlong), tower, exp(-mirrorT * 0.04));
			float fresnel = 0.15 + 0.85 * pow5(1.0 - abs(direction.y));
			color += image * fresnel * 0.8;
		}
		color = mix(haze(direction, glass ? sky(direction) : skyAlong), color, exp(-t * 0.025));
	}

	color *= max(Color, 0.0);
	color = vec3(1.0) - exp(-color * 1.6);
	gl_FragColor = vec4(pow(color, vec3(1.0 / 2.2)), 1.0);
}
