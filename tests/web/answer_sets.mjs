// Answer sets under the command-line evaluator's keys: the ones the core's tests and
// benchmarks share, the examples of the rent index, and a generator of random ones.

export const answerSets = {
  // The three answers "Auswerten" insists on, and nothing else.
  mandatory: { YearClass: 3, LivingArea: '75', CityArea: 2 },
  // Every question answered, so every section has findings.
  allFeatures: {
    YearClass: 3, LivingArea: '75', CityArea: 2, IsApartment: true, GuestToilet: true,
    TubAndShower: true, FloorCovering: 2, HeatingKind: 3, CaptiveRooms: true,
    NoKitchenHotWater: true, BalconyOrLoggia: true, Terrace: true, SoundproofWindows: true,
    BarrierFree: 1, HeatingRenewed: true, BathRenewed: true, Insulation: 2,
    NoiseImpairment: true,
  },
  class1978West: { YearClass: 4, Built1980Side: 1, LivingArea: '75', CityArea: 3 },
  class1929With45: { YearClass: 1, LivingArea: '45', GuestToilet: true, FloorCovering: 2,
    HeatingKind: 3, CityArea: 1 },
  apartment35: { YearClass: 1, LivingArea: '35', IsApartment: true, CityArea: 3 },
  twentyThousand: { YearClass: 5, LivingArea: '20000', CityArea: 3 },
  negativeSize: { YearClass: 7, LivingArea: '-12', CityArea: 6 },
  hugeSize: { YearClass: 6, LivingArea: '2147483647', CityArea: 5 },
};

const choiceCounts = { YearClass: 7, FloorCovering: 4, HeatingKind: 4, BarrierFree: 2,
  Insulation: 3, CityArea: 7 };
const yesNo = ['IsApartment', 'GuestToilet', 'TubAndShower', 'CaptiveRooms', 'NoKitchenHotWater',
  'BalconyOrLoggia', 'Terrace', 'SoundproofWindows', 'HeatingRenewed', 'BathRenewed',
  'NoiseImpairment'];
const sizes = ['1', '25', '35', '45', '50', '51', '60', '61', '75', '110', '111', '150', '151',
  '0', '-3', ' 80', '+90', '55,5', '7.5', '', 'Quadratmeter', 'abc', '99999', '2147483648'];

// A small generator with a fixed seed, so a failure can be run again: [value, next seed].
function next(seed) {
  const value = (Math.imul(seed, 1103515245) + 12345) >>> 0;
  return [value, value];
}

// Answers as a user could leave them, mostly complete, sometimes refused.
export function randomAnswers(seed) {
  let s = seed;
  const pick = (n) => {
    let value;
    [value, s] = next(s);
    return (value >>> 8) % n;
  };
  const answers = {};
  for (const [key, count] of Object.entries(choiceCounts)) {
    const roll = pick(count + 2);
    if (roll < count) answers[key] = roll + 1;
    else if (roll === count && key !== 'YearClass' && key !== 'CityArea') answers[key] = null;
  }
  if (answers.YearClass === 4 && pick(8) !== 0) answers.Built1980Side = pick(2) + 1;
  if (pick(12) !== 0) answers.LivingArea = pick(3) === 0 ? sizes[pick(sizes.length)] : String(pick(160));
  for (const key of yesNo) if (pick(3) === 0) answers[key] = pick(2) === 0;
  return [answers, s];
}
